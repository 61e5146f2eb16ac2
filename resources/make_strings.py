#!/usr/bin/env python3
"""Builds the string table from resources/lang/<tag>.txt, one UTF-8 file per language.

Usage: make_strings.py LANG_DIR TEXT_IDS_H OUT_RC OUT_LANGUAGES_INC

Refuses, naming file and line, a file that is not UTF-8, a line it cannot read, a missing
or an extra text, and a placeholder that differs from the English master's. Writes
nothing then, so the build stops.
"""
import pathlib
import re
import sys

MASTER = "en"
HEADER_KEYS = ("LANGUAGE_ID", "LANGUAGE_NAME")
LINE = re.compile(r'^([A-Z][A-Z0-9_]*)\s*=\s*"(.*)"\s*$')
LANGUAGE_ID = re.compile(r"^0x[0-9A-Fa-f]{4}$")
DEFINE = re.compile(r"^#define\s+(IDS_\w+)\s+(\d+)", re.M)
# What the code fills in or breaks at: positional and printf-style fields, and escapes.
# "\n" alone is a line break the reader makes where the language wants one, so a
# translation may have its own (the Korean explanation has one, the English none).
PLACEHOLDER = re.compile(r"%%|%\d|%[-+ #0]*\d*(?:\.\d+)?[sdiuxXcfp]|\\r\\n|\\[rt\\]")
TAG = re.compile(r"^[a-z]{2,3}(-[A-Z]{2})?$")


class Refusal(Exception):
    pass


def read_language(path):
    """The header and the texts of one file, by name."""
    try:
        lines = path.read_bytes().decode("utf-8-sig").splitlines()
    except UnicodeDecodeError as error:
        raise Refusal(f"{path.name}: not valid UTF-8 at byte {error.start}") from None
    header, texts = {}, {}
    for number, line in enumerate(lines, 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        match = LINE.match(line)
        if not match:
            raise Refusal(f'{path.name}:{number}: expected NAME = "text"')
        name, text = match.groups()
        target = header if name in HEADER_KEYS else texts
        if name in target:
            raise Refusal(f"{path.name}:{number}: {name} given twice")
        if "\r" in text or "\0" in text:
            raise Refusal(f"{path.name}:{number}: {name} holds a control character")
        target[name] = text
    for key in HEADER_KEYS:
        if key not in header:
            raise Refusal(f"{path.name}: {key} missing")
    if not LANGUAGE_ID.match(header["LANGUAGE_ID"]):
        raise Refusal(f"{path.name}: LANGUAGE_ID must be four hexadecimal digits such as 0x0407")
    return int(header["LANGUAGE_ID"], 16), header["LANGUAGE_NAME"], texts


def placeholders(text):
    return sorted(PLACEHOLDER.findall(text))


def check_names(tag, texts, names):
    for name in names:
        if name not in texts:
            raise Refusal(f"{tag}.txt: {name} missing")
    for name in texts:
        if name not in names:
            raise Refusal(f"{tag}.txt: {name} is not a text of the program")


def check(tag, texts, master):
    check_names(tag, texts, master)
    for name, text in texts.items():
        if placeholders(text) != placeholders(master[name]):
            raise Refusal(f"{tag}.txt: {name} has placeholders {placeholders(text)}, "
                          f"English has {placeholders(master[name])}")
        if not text.strip():
            raise Refusal(f"{tag}.txt: {name} is empty")


def load(lang_dir, ids_header):
    ids = dict(DEFINE.findall(pathlib.Path(ids_header).read_text(encoding="utf-8")))
    languages = {}
    for path in sorted(pathlib.Path(lang_dir).glob("*.txt")):
        if not TAG.match(path.stem):
            raise Refusal(f"{path.name}: the file name must be a language tag such as de or pt-BR")
        languages[path.stem] = read_language(path)
    if MASTER not in languages:
        raise Refusal(f"{MASTER}.txt missing")
    master = languages[MASTER][2]
    check_names(MASTER, master, ids)
    seen = {}
    for tag, (language_id, _, texts) in languages.items():
        if language_id in seen:
            raise Refusal(f"{tag}.txt: LANGUAGE_ID {language_id:#06x} is also {seen[language_id]}'s")
        seen[language_id] = tag
        check(tag, texts, master)
    return ids, languages


def rc_text(text):
    return text.replace("\\", "\\\\").replace('"', '""')


def cpp_text(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def write_rc(path, ids, languages):
    out = ["// Generated from resources/lang by make_strings.py; edit those files instead.",
           '#include "text_ids.h"']
    for tag, (language_id, _, texts) in languages.items():
        out += ["", f"// {tag}",
                f"LANGUAGE {language_id & 0x3FF:#04x}, {language_id >> 10:#04x}", "STRINGTABLE", "BEGIN"]
        out += [f'  {name} "{rc_text(texts[name])}"' for name in sorted(ids, key=lambda n: int(ids[n]))]
        out.append("END")
    path.write_text("\n".join(out) + "\n", encoding="utf-8")


def write_languages(path, languages):
    out = ["// Generated from resources/lang by make_strings.py: language, tag, own name."]
    out += [f'{{{language_id:#06x}, "{tag}", "{cpp_text(name)}"}},'
            for tag, (language_id, name, _) in languages.items()]
    path.write_text("\n".join(out) + "\n", encoding="utf-8")


def main(argv):
    if len(argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        ids, languages = load(argv[1], argv[2])
    except Refusal as refusal:
        print(f"make_strings: {refusal}", file=sys.stderr)
        return 1
    write_rc(pathlib.Path(argv[3]), ids, languages)
    write_languages(pathlib.Path(argv[4]), languages)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

"""The product's own texts, read from its string table."""

import re
from pathlib import Path

from .common import HarnessError

SOURCE_ROOT = Path(__file__).resolve().parents[3]
ENGLISH, KOREAN = "LANG_ENGLISH", "LANG_KOREAN"


def string_table(language):
    """The texts of resources/strings.rc for one LANGUAGE block, by number."""
    texts, current = {}, None
    numbers = dict(re.findall(r"^#define\s+(\w+)\s+(\d+)", (SOURCE_ROOT / "resources" / "text_ids.h").read_text(), re.M))
    for line in (SOURCE_ROOT / "resources" / "strings.rc").read_text(encoding="utf-8").splitlines():
        language_line = re.match(r"^\s*LANGUAGE\s+(\w+)", line)
        if language_line:
            current = language_line.group(1)
            continue
        entry = re.match(r'^\s*(\w+)\s+"((?:[^"]|"")*)"\s*$', line)
        if entry and current == language:
            text = entry.group(2).replace('""', '"')
            texts[int(numbers[entry.group(1)])] = re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)
    if not texts:
        raise HarnessError(f"no {language} texts in strings.rc")
    return texts

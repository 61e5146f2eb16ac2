#!/usr/bin/env python3
"""Prints, for the test command's summary, every test of a step that was skipped or retried,
with the reason: the skipped tests of the JUnit file ctest wrote (a GoogleTest case says why in
its output) and the lines the harness and wine-run.sh noted (KIND<TAB>WHAT<TAB>REASON).
    test-notes.py STEP NOTES-FILE [JUNIT-FILE]"""

import re
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path


def skip_reason(testcase):
    output = testcase.findtext("system-out") or ""
    said = re.search(r": Skipped\n(.*)", output)
    if said and said.group(1).strip():
        return said.group(1).strip()
    return testcase.find("skipped").get("message", "no reason given")


def main(step, notes, junit=None):
    found = []
    if junit and Path(junit).is_file():
        for testcase in ElementTree.parse(junit).getroot().iter("testcase"):
            if testcase.find("skipped") is not None:
                found.append(("skipped", testcase.get("name"), skip_reason(testcase)))
    if Path(notes).is_file():
        found += [tuple(line.split("\t", 2)) for line in Path(notes).read_text(encoding="utf-8").splitlines()]
    for kind, what, reason in found:
        print(f"{step:<22} {kind:<8} {what}: {reason}")


if __name__ == "__main__":
    main(*sys.argv[1:])

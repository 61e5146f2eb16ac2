"""The lines the test command's summary gathers: what was retried or skipped, and why."""

import os
import sys


def note(kind, what, reason):
    """A step that was retried or a test that was skipped, for the test command's summary
    (the file PRAVELO_TEST_NOTES names) and this test's own output."""
    print(f"note: {kind} {what}: {reason}", file=sys.stderr, flush=True)
    notes = os.environ.get("PRAVELO_TEST_NOTES")
    if notes:
        with open(notes, "a", encoding="utf-8") as sink:
            sink.write(f"{kind}\t{what}\t{reason}\n")

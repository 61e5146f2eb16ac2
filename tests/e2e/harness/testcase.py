"""The tests' side: a session per test, and a test file that ends itself before ctest would
kill it, so that its sessions are still cleaned up."""

import os
import signal
import sys
import unittest
from pathlib import Path

from .notes import note
from .session import WineSession

_deadline_passed = False


class DeadlineExceeded(Exception):
    """The test file ran past the time it was given."""


class E2ETestCase(unittest.TestCase):
    """Each test gets its own session, closed again however the test ends."""

    def setUp(self):
        if _deadline_passed:
            self.fail("the test file ran out of time before this test")
        self.session = WineSession(self.id().split(".", 1)[-1])
        self.addCleanup(self.session.close)


def _on_deadline(signum, frame):
    global _deadline_passed
    if _deadline_passed:
        return
    _deadline_passed = True
    raise DeadlineExceeded("the test ran past its deadline")


def main():
    """Runs the tests of the calling module within PRAVELO_E2E_DEADLINE seconds, so that a
    slow test still fails with its sessions cleaned up before ctest kills the run."""
    deadline = int(os.environ.get("PRAVELO_E2E_DEADLINE", "0"))
    if deadline > 0:
        signal.signal(signal.SIGALRM, _on_deadline)
        signal.alarm(deadline)
    signal.signal(signal.SIGTERM, _on_deadline)
    result = unittest.main(module="__main__", verbosity=2, exit=False).result
    for test, reason in result.skipped:
        # A skip of the whole file is named after the file, not after setUpModule.
        name = test.id().removeprefix("__main__.")
        note("skipped", Path(sys.argv[0]).stem if name.startswith("setUpModule") else name, reason)
    sys.exit(0 if result.wasSuccessful() else 1)

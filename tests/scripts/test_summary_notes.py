"""scripts/test-notes.py: the summary names each skipped test and each retried step, with the
reason, from ctest's JUnit file and the notes of the harness and wine-run.sh."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

TEST_NOTES = Path(__file__).resolve().parents[2] / "scripts" / "test-notes.py"

JUNIT = """<testsuite>
  <testcase name="Gui.Leaks" status="notrun"><skipped message="SKIP_REGULAR_EXPRESSION_MATCHED"/>
    <system-out>[ RUN      ] Gui.Leaks
gui_test.cpp:71: Skipped
GetGuiResources counts nothing here
[  SKIPPED ] Gui.Leaks (1 ms)</system-out></testcase>
  <testcase name="e2e_test_quiet" status="notrun"><skipped message="Disabled"/><system-out></system-out></testcase>
  <testcase name="Clock.Ticks" status="run"><system-out>[       OK ] Clock.Ticks</system-out></testcase>
</testsuite>
"""
NOTES = ("retried\tTray.Add\tWine's desktop process was not ready after 11 s (try 1 of 3)\n"
         "skipped\tInstallerTest.test_x86\tthis host cannot run 32-bit programs\n")


class SummaryNotesTest(unittest.TestCase):
    def summary(self, notes, junit):
        with tempfile.TemporaryDirectory() as folder:
            files = {"notes.txt": notes, "tier.xml": junit}
            for name, text in files.items():
                if text is not None:
                    Path(folder, name).write_text(text, encoding="utf-8")
            return subprocess.run([sys.executable, str(TEST_NOTES), "test-windows", str(Path(folder, "notes.txt")),
                                   str(Path(folder, "tier.xml"))], capture_output=True, text=True, check=True,
                                  timeout=30).stdout.splitlines()

    def test_names_every_skip_and_retry_with_its_reason(self):
        step = f"{'test-windows':<22} "
        cases = [
            ("nothing noted", None, None, []),
            ("ctest skips", None, JUNIT, [
                step + "skipped  Gui.Leaks: GetGuiResources counts nothing here",
                step + "skipped  e2e_test_quiet: Disabled"]),
            ("harness notes", NOTES, None, [
                step + "retried  Tray.Add: Wine's desktop process was not ready after 11 s (try 1 of 3)",
                step + "skipped  InstallerTest.test_x86: this host cannot run 32-bit programs"]),
        ]
        for name, notes, junit, expected in cases:
            with self.subTest(name):
                self.assertEqual(self.summary(notes, junit), expected)


if __name__ == "__main__":
    unittest.main()

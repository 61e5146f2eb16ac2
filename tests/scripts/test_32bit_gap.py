"""scripts/wine-env.sh's host_32bit_gap: the reason the test command and run.sh give when the
32-bit program cannot run under Wine here, found by running the loader."""

import os
import subprocess
import tempfile
import unittest
from pathlib import Path

WINE_ENV = Path(__file__).resolve().parents[2] / "scripts" / "wine-env.sh"


def gap(loader):
    env = dict(os.environ, PRAVELO_WINE32_LOADER=str(loader))
    return subprocess.run(["bash", "-c", 'source "$0" && host_32bit_gap', str(WINE_ENV)], env=env,
                          capture_output=True, text=True, check=True, timeout=30).stdout.strip()


class Host32BitGapTest(unittest.TestCase):
    def test_names_why_the_32_bit_program_cannot_run(self):
        cases = [
            ("loader not installed", None, "Wine's 32-bit half (wine32:i386) is not installed"),
            ("loader refused by the kernel", "echo 'Exec format error' >&2; exit 126",
             "this host cannot execute 32-bit programs (Wine's 32-bit loader fails here)"),
            ("loader runs", "echo wine-8.0", ""),
        ]
        for name, body, expected in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                loader = Path(folder, "wine")
                if body is not None:
                    loader.write_text(f"#!/bin/sh\n{body}\n", encoding="utf-8")
                    loader.chmod(0o755)
                self.assertEqual(gap(loader), expected)


if __name__ == "__main__":
    unittest.main()

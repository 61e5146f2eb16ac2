"""wine_sweep_socket_folders (scripts/wine-env.sh): a cold start removes the socket folders of
Wine servers that are gone, and never one that a server (of another run, too) still uses."""

import os
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

WINE_ENV = Path(__file__).resolve().parents[2] / "scripts" / "wine-env.sh"
OLD_S = 300


def make(folder, age_s):
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "socket").touch()
    then = time.time() - age_s
    os.utime(folder, (then, then))


class SocketSweepTest(unittest.TestCase):
    def test_removes_only_folders_of_gone_servers(self):
        # (parent, folder, age of the folder in s, a process works in it, kept)
        cases = [
            ("wine-gone", "server-fe00-1", OLD_S, False, False),
            ("wine-busy", "server-fe00-2", OLD_S, True, True),
            ("wine-new", "server-fe00-3", 5, False, True),
            ("wine-mixed", "server-fe00-4", OLD_S, True, True),
            ("wine-mixed", "server-fe00-5", OLD_S, False, False),
        ]
        with tempfile.TemporaryDirectory() as top:
            workers = []
            try:
                for parent, name, age, worked_in, _ in cases:
                    make(Path(top, parent, name), age)
                    if worked_in:
                        workers.append(subprocess.Popen(["sleep", "60"], cwd=Path(top, parent, name)))
                for parent in {case[0] for case in cases}:
                    os.utime(Path(top, parent), (time.time() - OLD_S, time.time() - OLD_S))
                subprocess.run(["bash", "-c", f'source "{WINE_ENV}" && wine_sweep_socket_folders "$1"', "-", top],
                               check=True, timeout=30)
            finally:
                for worker in workers:
                    worker.kill()
                    worker.wait(10)
            for parent, name, _, _, kept in cases:
                self.assertEqual(Path(top, parent, name).is_dir(), kept, f"{parent}/{name}")
            # A parent left empty goes too.
            self.assertFalse(Path(top, "wine-gone").exists())


if __name__ == "__main__":
    unittest.main()

"""scripts/install-deps.sh against a package manager that fails as mirrors do: an index that
cannot be fetched, a required install that works only on the second try, and Wine's 32-bit
half that the sources cannot offer. Every command it would change the machine with is a fake."""

import os
import subprocess
import tempfile
import unittest
from pathlib import Path

INSTALL_DEPS = Path(__file__).resolve().parents[2] / "scripts" / "install-deps.sh"

# Each fake logs its call; apt-get fails as FAKE_* say, counting its installs in a file.
FAKES = {
    "dpkg-query": 'echo "dpkg-query $*" >>"$FAKE_LOG"; [ "$FAKE_INSTALLED" = all ] && printf "install ok installed"',
    "dpkg": 'echo "dpkg $*" >>"$FAKE_LOG"; [ "$1" = --print-foreign-architectures ] && echo i386; true',
    "locale": "printf 'en_US.utf8\\nko_KR.utf8\\nde_DE.utf8\\nja_JP.utf8\\n'",
    "sleep": 'echo "sleep $*" >>"$FAKE_LOG"',
    "apt-get": """echo "apt-get $*" >>"$FAKE_LOG"
case " $* " in
    *" update "*) exit "$FAKE_UPDATE_STATUS" ;;
    *" wine32:i386 "*) exit "$FAKE_WINE32_STATUS" ;;
esac
tries=$(( $(cat "$FAKE_DIR/installs" 2>/dev/null || echo 0) + 1 ))
echo $tries >"$FAKE_DIR/installs"
[ $tries -gt "$FAKE_INSTALL_FAILURES" ]""",
}


def run(installed="none", update_status=0, install_failures=0, wine32_status=0):
    with tempfile.TemporaryDirectory() as folder:
        fakes = Path(folder)
        for name, body in FAKES.items():
            (fakes / name).write_text(f"#!/bin/sh\n{body}\n", encoding="utf-8")
            (fakes / name).chmod(0o755)
        notes, log = fakes / "notes.txt", fakes / "log.txt"
        env = dict(os.environ, PATH=f"{fakes}:{os.environ['PATH']}", PRAVELO_TEST_NOTES=str(notes),
                   FAKE_LOG=str(log), FAKE_DIR=str(fakes), FAKE_INSTALLED=installed,
                   FAKE_UPDATE_STATUS=str(update_status), FAKE_INSTALL_FAILURES=str(install_failures),
                   FAKE_WINE32_STATUS=str(wine32_status))
        status = subprocess.run(["bash", str(INSTALL_DEPS)], env=env, capture_output=True, timeout=60).returncode
        said = notes.read_text(encoding="utf-8").splitlines() if notes.exists() else []
        calls = log.read_text(encoding="utf-8").splitlines() if log.exists() else []
        return status, said, sum(c.startswith("apt-get update") for c in calls)


@unittest.skipIf(os.geteuid() != 0, "install-deps.sh calls sudo where it is not root")
class InstallDepsTest(unittest.TestCase):
    def test_a_failing_mirror_is_tried_again_once_and_said_in_the_summary(self):
        missing_wine32 = "skipped\twine32:i386\tcould not be installed from this machine's package sources"
        retried = "retried\tapt-get install\tsome package indexes could not be fetched"
        cases = [
            # name, installed, update status, failed installs, wine32 status -> status, notes, updates
            ("all there", "all", 0, 0, 0, 0, [], 0),
            ("all fetched and installed", "none", 0, 0, 0, 0, [], 1),
            ("an index missing, installs work", "none", 100, 0, 0, 0, [], 1),
            ("an index missing, no wine32", "none", 100, 0, 100, 0, [missing_wine32], 1),
            ("second install works", "none", 100, 1, 0, 0, [retried], 2),
            ("second install fails too", "none", 100, 2, 0, 1, [retried], 2),
            ("indexes whole, install fails", "none", 0, 1, 0, 1, [], 1),
        ]
        for name, installed, update, failures, wine32, status, notes, updates in cases:
            with self.subTest(name):
                self.assertEqual(run(installed, update, failures, wine32), (status, notes, updates))


if __name__ == "__main__":
    unittest.main()

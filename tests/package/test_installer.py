"""An installer of dist/ in a fresh Wine prefix of its width: a silent install, the installed
program started, and a silent uninstall that also ends a running Pravelo and clears what its
autostart left, while the user's settings stay unless asked for. Run by tests/package/run.sh."""

import os
import re
import subprocess
import unittest
from pathlib import Path

import harness
import product
from harness import wait_until
from product import RUN_KEY, RUN_VALUE, SETTINGS_KEY

INSTALLER = Path(os.environ["PRAVELO_INSTALLER"])
CERT = os.environ.get("PRAVELO_SIGN_CERT")
WIN64 = harness.WINE_ARCH == "win64"
FOLDER = "C:\\Program Files\\Pravelo"
PROGRAM = FOLDER + "\\pravelo.exe"
UNINSTALLER = FOLDER + "\\uninstall.exe"
INSTALLED = ["pravelo.exe", "pravelo_pic.bmp", "LICENSE.txt", "uninstall.exe"]
SHORTCUT = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Pravelo.lnk"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pravelo"
VENDOR_KEY = "HKCU\\Software\\zEVID"
OTHER_PROGRAM_KEY = VENDOR_KEY + "\\SomeOtherProgram"
SYSTEM_COPIES = ["C:\\windows\\system32\\Pravelo1.exe", "C:\\windows\\system32\\pravelo_pic.bmp"]
SETUP_TIMEOUT_S = 120
UNINSTALL_TIMEOUT_S = 60
# A build made for tests pauses this many milliseconds after each process a pass trims.
TEST_PASS_DELAY_VARIABLE = "PRAVELO_TEST_PASS_DELAY_MS"


def gap_32_bit():
    """Why this host cannot run 32-bit programs under Wine, or "" (the scripts' own answer)."""
    script = Path(__file__).resolve().parents[2] / "scripts" / "wine-env.sh"
    return subprocess.run(["bash", "-c", 'source "$0" && host_32bit_gap', str(script)], capture_output=True,
                          text=True, timeout=30).stdout.strip()


def setUpModule():
    gap = "" if WIN64 else gap_32_bit()
    if gap:
        raise unittest.SkipTest(f"the x86 installer needs a 32-bit Wine prefix: {gap}")
    harness.create_template()


def tearDownModule():
    harness.destroy_template()


class InstallerTest(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        self.session.skip_window_manager_waits()
        self.setup = self.session.install([INSTALLER], "C:\\setup")
        self.assertEqual(self.session.run(self.setup, ["/S"], timeout=SETUP_TIMEOUT_S), 0)

    def test_the_installed_program_ignores_the_test_hooks(self):
        # Wine's relay trace, narrowed to this one function, lists every variable the program
        # asks for: a build with the hooks asks for the delay at each pass.
        self.session.reg_add("HKCU\\Software\\Wine\\Debug", "RelayInclude", "REG_SZ", "GetEnvironmentVariableW")
        started = self.session.start(PROGRAM, ["/clean", "WorkingSets"],
                                     env={TEST_PASS_DELAY_VARIABLE: "1", "WINEDEBUG": "+relay"})
        self.assertIn(started.wait(60), (0, 1))
        trace = started.output.read_bytes().decode("utf-8", "replace")
        asked = set(re.findall(r'GetEnvironmentVariableW\([0-9a-fA-F]+ L"([^"]*)"', trace))
        # Every build reads the deep pass's cap: the trace shows the program's own questions.
        self.assertIn(harness.DEEP_FILL_LIMIT_VARIABLE, asked)
        self.assertNotIn(TEST_PASS_DELAY_VARIABLE, asked)

    def path(self, windows_path):
        return self.session.drive_c(windows_path)

    def uninstall(self, *args):
        """Runs the uninstaller silently and waits for its copy in the temporary folder, which
        does the work, to end."""
        self.assertEqual(self.session.run(UNINSTALLER, ["/S", *args], timeout=UNINSTALL_TIMEOUT_S), 0)

        def working():
            return any("~nsu" in " ".join(args).lower() for _, args in self.session.processes())
        self.assertTrue(wait_until(lambda: not working(), UNINSTALL_TIMEOUT_S, interval=0.5),
                        "the uninstaller still runs")

    def test_installs_starts_and_uninstalls_a_running_pravelo_but_keeps_the_settings(self):
        for name in INSTALLED:
            self.assertTrue(self.path(FOLDER + "\\" + name).is_file(), name)
        self.assertTrue(self.path(SHORTCUT).is_file())
        self.assertIn("pravelo.exe".encode("utf-16-le"), self.path(SHORTCUT).read_bytes().lower())
        entry = self.session.reg_values(UNINSTALL_KEY)
        self.assertIsNotNone(entry, "no uninstall entry")
        self.assertEqual({name: entry[name].data for name in ("DisplayName", "DisplayVersion", "Publisher",
                                                              "DisplayIcon", "UninstallString")},
                         {"DisplayName": "Pravelo (64-bit)" if WIN64 else "Pravelo",
                          "DisplayVersion": product.VERSION, "Publisher": "zEVID",
                          "DisplayIcon": PROGRAM + ",0", "UninstallString": f'"{UNINSTALLER}"'})
        installed_kb = sum(self.path(FOLDER + "\\" + n).stat().st_size for n in INSTALLED) / 1024
        self.assertEqual(entry["EstimatedSize"].type, "REG_DWORD")
        self.assertLess(abs(entry["EstimatedSize"].data - installed_kb), len(INSTALLED) + 1)
        if CERT:
            check = subprocess.run(["osslsigncode", "verify", "-CAfile", CERT, "-in",
                                    str(self.path(UNINSTALLER))], capture_output=True, text=True, timeout=60)
            self.assertEqual(check.returncode, 0, "uninstaller: " + check.stdout + check.stderr)

        started, main = product.start_main(self.session, PROGRAM)
        self.session.screenshot("installed-program")
        # Closing only moves it to the tray; what autostart leaves behind is there too.
        self.session.reg_add(SETTINGS_KEY, "MinAtClose", "REG_SZ", "1")
        self.session.reg_add(RUN_KEY, RUN_VALUE, "REG_SZ", SYSTEM_COPIES[0])
        for copy, name in zip(SYSTEM_COPIES, ("pravelo.exe", "pravelo_pic.bmp")):
            self.path(copy).write_bytes(self.path(FOLDER + "\\" + name).read_bytes())
        settings = self.session.reg_values(SETTINGS_KEY)
        self.assertIn("MinAtClose", settings)

        self.uninstall()
        self.assertEqual(started.wait(30), 0)
        self.assertEqual([w for w in self.session.windows() if w.pid == main.pid], [])
        self.assertFalse(self.path(FOLDER).exists(), "the program folder is still there")
        self.assertFalse(self.path(SHORTCUT).exists())
        self.assertIsNone(self.session.reg_values(UNINSTALL_KEY))
        self.assertIsNone(self.session.reg_query(RUN_KEY, RUN_VALUE))
        for copy in SYSTEM_COPIES:
            self.assertFalse(self.path(copy).exists(), copy)
        self.assertEqual(self.session.reg_values(SETTINGS_KEY), settings)

    def test_installing_again_over_a_running_pravelo_ends_it_first(self):
        started, main = product.start_main(self.session, PROGRAM)
        self.assertEqual(self.session.run(self.setup, ["/S"], timeout=SETUP_TIMEOUT_S), 0)
        self.assertEqual(started.wait(30), 0)
        self.assertEqual([w for w in self.session.windows() if w.pid == main.pid], [])
        self.assertTrue(self.path(PROGRAM).is_file())

    def test_the_remove_settings_switch_takes_pravelos_keys_and_leaves_other_programs_keys(self):
        self.session.reg_add(SETTINGS_KEY, "Interval", "REG_SZ", "50")
        self.session.reg_add(VENDOR_KEY + "\\PraveloAutomation", "Threshold", "REG_SZ", "80")
        self.session.reg_add(OTHER_PROGRAM_KEY, "Kept", "REG_SZ", "yes")
        self.uninstall("/REMOVESETTINGS")
        self.assertFalse(self.path(FOLDER).exists(), "the program folder is still there")
        self.assertIsNone(self.session.reg_values(SETTINGS_KEY))
        self.assertIsNone(self.session.reg_values(VENDOR_KEY + "\\PraveloAutomation"))
        self.assertEqual(self.session.reg_query(OTHER_PROGRAM_KEY, "Kept"), harness.RegistryValue("REG_SZ", "yes"))


if __name__ == "__main__":
    harness.main()

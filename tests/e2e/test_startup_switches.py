"""pravelo.exe started with and without its switches, in a fresh user profile."""


import harness
from harness import RegistryValue

SETTINGS_KEY = "HKCU\\Software\\zEVID\\PraveloGeneral"
MEMORY_KEY = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management"
MAIN_CLASS = "Pravelo.Form1"
MAIN_TITLE = "Pravelo"

class StartupSwitchTest(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        self.program = self.session.install_product()

    def setting(self, name):
        return self.session.reg_query(SETTINGS_KEY, name)

    def test_a_writes_start_up_values_optimizes_and_ends_with_exit_code_0(self):
        self.assertEqual(self.session.run(self.program, ["/a"], timeout=60), 0)
        # Start-up reads these two before it acts on the switch, creating them with defaults.
        self.assertEqual(self.setting("AutoOptimize"), RegistryValue("REG_SZ", "1"))
        self.assertEqual(self.setting("KernelMemoryUse"), RegistryValue("REG_SZ", "0"))
        self.assertEqual(self.session.reg_query(MEMORY_KEY, "LargeSystemCache"), RegistryValue("REG_DWORD", 1))
        self.assertEqual(self.session.reg_query(MEMORY_KEY, "DisablePagingExecutive"),
                         RegistryValue("REG_DWORD", 0))

    def test_kernel_memory_use_setting_is_written_to_the_machine_at_every_start(self):
        for value in ("1", "0"):
            self.session.reg_add(SETTINGS_KEY, "KernelMemoryUse", "REG_SZ", value)
            self.assertEqual(self.session.run(self.program, ["/a"], timeout=60), 0)
            self.assertEqual(self.session.reg_query(MEMORY_KEY, "DisablePagingExecutive"),
                             RegistryValue("REG_DWORD", int(value)))

    def test_plain_start_shows_the_main_window_and_creates_every_setting(self):
        started = self.session.start(self.program)
        window = self.session.wait_window(MAIN_CLASS, MAIN_TITLE, timeout=60, program=started)
        self.session.screenshot("main-window")
        defaults = {"AutoOptimize": "1", "Interval": "50", "TrayAtStart": "0", "MinimizeTray": "0",
                    "MinAtClose": "0", "AutoStart": "0", "KernelMemoryUse": "0"}
        for name, default in defaults.items():
            self.assertEqual(self.setting(name), RegistryValue("REG_SZ", default), name)
        self.session.close_window(window)
        self.assertEqual(started.wait(60), 0)

    def test_switches_compare_exactly_so_near_misses_start_normally(self):
        for args in (["/A"], ["/a", "/b"]):
            started = self.session.start(self.program, args)
            window = self.session.wait_window(MAIN_CLASS, MAIN_TITLE, timeout=60, program=started)
            self.session.close_window(window)
            self.assertEqual(started.wait(60), 0, args)


if __name__ == "__main__":
    harness.main()

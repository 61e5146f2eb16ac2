"""pravelo.exe started with and without its switches, in a fresh user profile."""


import harness
from harness import RegistryValue
from product import MAIN_CLASS, MAIN_TITLE, MEMORY_KEY, SETTINGS_KEY

DEFAULTS = {"AutoOptimize": "1", "Interval": "50", "TrayAtStart": "0", "MinimizeTray": "0",
            "MinAtClose": "0", "AutoStart": "0", "KernelMemoryUse": "0"}
# The seven buttons of the main window, by their string numbers.
MAIN_BUTTONS = (101, 102, 103, 105, 107, 108, 110)

class StartupSwitchTest(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        self.program = self.session.install_product()

    def setting(self, name):
        return self.session.reg_query(SETTINGS_KEY, name)

    def test_a_first_start_leaves_the_seven_settings_and_the_machine_values_and_ends_with_0(self):
        self.assertEqual(self.session.reg_values(SETTINGS_KEY), None, "the profile is not fresh")
        self.assertEqual(self.session.run(self.program, ["/a"], timeout=60), 0)
        # The options window loads before the switch acts, so all seven exist, and nothing else.
        self.assertEqual(self.session.reg_values(SETTINGS_KEY),
                         {name: RegistryValue("REG_SZ", text) for name, text in DEFAULTS.items()})
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
        for name, default in DEFAULTS.items():
            self.assertEqual(self.setting(name), RegistryValue("REG_SZ", default), name)
        self.session.close_window(window)
        self.assertEqual(started.wait(60), 0)

    def test_switches_compare_exactly_so_near_misses_start_normally(self):
        for args in (["/A"], ["/a", "/b"]):
            started = self.session.start(self.program, args)
            window = self.session.wait_window(MAIN_CLASS, MAIN_TITLE, timeout=60, program=started)
            self.session.close_window(window)
            self.assertEqual(started.wait(60), 0, args)

    def test_empty_values_get_their_default_and_texts_that_are_not_numbers_are_kept(self):
        self.session.reg_add(SETTINGS_KEY, "Interval", "REG_SZ", "")
        self.session.reg_add(SETTINGS_KEY, "AutoOptimize", "REG_SZ", "often")
        started = self.session.start(self.program)
        window = self.session.wait_window(MAIN_CLASS, MAIN_TITLE, timeout=60, program=started)
        self.assertEqual(self.setting("Interval"), RegistryValue("REG_SZ", "50"))
        self.assertEqual(self.setting("AutoOptimize"), RegistryValue("REG_SZ", "often"))
        self.session.close_window(window)
        self.assertEqual(started.wait(60), 0)

    def test_u_shows_the_program_path_then_the_main_window_with_its_buttons(self):
        english = harness.string_table(harness.ENGLISH)
        started = self.session.start(self.program, ["/u"])
        # The folder and the file name without its extension.
        self.assertEqual(self.session.press_ok(MAIN_TITLE), "C:\\Pravelo\\pravelo")
        window = self.session.wait_window(MAIN_CLASS, MAIN_TITLE, timeout=60, program=started)
        buttons = [child.text for child in self.session.children(window)
                   if child.class_name == "Button" and child.visible]
        self.assertCountEqual(buttons, [english[number] for number in MAIN_BUTTONS])
        self.session.close_window(window)
        self.assertEqual(started.wait(60), 0)


if __name__ == "__main__":
    harness.main()

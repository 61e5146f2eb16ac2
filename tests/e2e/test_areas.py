"""The memory areas: "/clean" from the command line, the two settings of a first start, and
the Memory areas window opened from the options."""

import harness
import product
from harness import RegistryValue, wait_for
from product import SETTINGS_KEY

AREAS_KEY = "HKCU\\Software\\zEVID\\PraveloAreas"
AREAS_CLASS = "Pravelo.Areas"
DEFAULT_AREAS = "WorkingSets,SystemFileCache"
# The rows of the window by their labels, in the order a pass runs the areas.
ROWS = ["Working sets of all processes", "System file cache", "Modified page list", "Standby list",
        "Low-priority standby list", "Combine identical pages", "Registry cache"]
NOT_RUN = "Not in the last optimization"


class AreasWindow:
    """The window's rows: each area's two check boxes and its result, found by position."""

    def __init__(self, session, window):
        self.session = session
        self.window = window
        children = session.children(window)
        self.rows = {}
        for label in (c for c in children if c.text in ROWS):
            same_row = sorted((c for c in children if c is not label and abs(c.rect[1] - label.rect[1]) < 8),
                              key=lambda c: c.rect[0])
            boxes = [c for c in same_row if c.class_name.lower() == "button"]
            self.rows[label.text] = {"manual": boxes[0], "automatic": boxes[1], "result": same_row[-1]}

    def result(self, row):
        return self.session.text(self.rows[row]["result"])

    def state(self, row, column):
        return self.session.check_state(self.rows[row][column])

    def toggle(self, row, column):
        left, top, right, bottom = self.rows[row][column].rect
        self.session.click_at((left + right) // 2, (top + bottom) // 2)


class AreasTest(product.ProductTestCase):
    def test_clean_ends_with_0_or_1_and_an_unknown_name_with_2(self):
        for version in (None, "win10"):
            if version:
                self.session.set_windows_version(version)
            # Wine refuses these calls or has stubs of them; the program never falls over.
            self.assertIn(self.session.run(self.program, ["/clean", "all"], timeout=60), (0, 1), version)
            self.assertIn(self.session.run(self.program, ["/clean", "standbylist,WORKINGSETS"], timeout=60),
                          (0, 1), version)
        for args in (["/clean", "bogus"], ["/clean", "StandbyList,bogus"], ["/clean"]):
            self.assertEqual(self.session.run(self.program, args, timeout=60), 2, args)

    def test_a_first_start_creates_both_area_values_beside_the_seven_settings(self):
        self.assertIsNone(self.session.reg_values(AREAS_KEY), "the profile is not fresh")
        self.assertEqual(self.session.run(self.program, ["/a"], timeout=60), 0)
        self.assertEqual(self.session.reg_values(AREAS_KEY),
                         {"Manual": RegistryValue("REG_SZ", DEFAULT_AREAS),
                          "Automatic": RegistryValue("REG_SZ", DEFAULT_AREAS)})
        self.assertEqual(len(self.session.reg_values(SETTINGS_KEY)), 7)

    def test_the_window_shows_the_last_optimization_and_saves_both_columns(self):
        self.session.skip_window_manager_waits()
        self.session.reg_add(AREAS_KEY, "Manual", "REG_SZ", "WorkingSets,StandbyList")
        program, main = product.start_main(self.session)
        self.session.click(main, "Optimize")
        product.wait_notification(self.session, main)

        options = product.open_options(self.session, main, program)
        options.click("Memory areas...")
        window = AreasWindow(self.session,
                             self.session.wait_window(AREAS_CLASS, "Memory areas", timeout=20, program=program))
        self.assertEqual(sorted(window.rows), sorted(ROWS))
        self.session.screenshot("memory-areas-window")

        # The trims of every process are done; the change and the time are as measured.
        self.assertRegex(window.result("Working sets of all processes"), r"^Done, [+-]?[\d.]+ MB, \d+ ms$")
        self.assertNotEqual(window.result("Standby list"), NOT_RUN)
        self.assertEqual(window.result("System file cache"), NOT_RUN)
        # Wine reports Windows 7: no combining of pages, no registry flush.
        self.assertEqual(window.result("Combine identical pages"), "Needs Windows 10")
        self.assertEqual(window.result("Registry cache"), "Needs Windows 8.1")
        self.assertEqual(window.state("Registry cache", "manual"), (0, False))
        self.assertEqual(window.state("Standby list", "manual"), (1, True))
        self.assertEqual(window.state("Standby list", "automatic"), (0, True))

        window.toggle("Standby list", "automatic")
        self.assertEqual(wait_for(lambda: window.state("Standby list", "automatic")[0], 1), 1)
        window.toggle("Working sets of all processes", "manual")
        self.assertEqual(wait_for(lambda: window.state("Working sets of all processes", "manual")[0], 0), 0)
        self.session.click(window.window, "Save")
        self.session.wait_gone(window.window)
        self.assertEqual(self.session.reg_values(AREAS_KEY),
                         {"Manual": RegistryValue("REG_SZ", "StandbyList"),
                          "Automatic": RegistryValue("REG_SZ", "WorkingSets,SystemFileCache,StandbyList")})
        self.assertEqual(len(self.session.reg_values(SETTINGS_KEY)), 7)


if __name__ == "__main__":
    harness.main()

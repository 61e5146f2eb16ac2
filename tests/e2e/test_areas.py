"""The memory areas: "/clean" from the command line, the two settings of a first start, and
the Memory areas window opened from the options."""

import harness
import product
from harness import RegistryValue, wait_for
from product import AREAS_CLASS, AREAS_KEY, SETTINGS_KEY

DEFAULT_AREAS = "WorkingSets,SystemFileCache"
# The rows of the window by their labels, in the order a pass runs the areas.
ROWS = ["Working sets of all processes", "System file cache", "Modified page list", "Standby list",
        "Low-priority standby list", "Combine identical pages", "Registry cache"]
NOT_RUN = "Not in the last optimization"
AREA_NAMES = ["WorkingSets", "SystemFileCache", "ModifiedList", "StandbyList", "LowPriorityStandbyList",
              "CombinedList", "RegistryCache"]


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
            self.rows[label.text] = {"manual": boxes[0], "automatic": boxes[1], "result": same_row[-3],
                                     "freed": same_row[-2], "time": same_row[-1]}

    def result(self, row, column="result"):
        return self.session.text(self.rows[row][column])

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

    def test_clean_writes_its_table_to_standard_output_and_shows_no_window(self):
        # Slowed down by the test builds' pause, so that a window would be seen meanwhile.
        started = self.session.start(self.program, ["/clean", "all"], env={"PRAVELO_TEST_PASS_DELAY_MS": "300"})
        seen = []
        while started.running():
            seen += [w for w in product.top_level(self.session, product.MAIN_CLASS) if w.visible]
        self.assertIn(started.wait(60), (0, 1))
        self.assertEqual(seen, [])
        lines = started.output.read_bytes().decode("utf-8").split("\r\n")
        self.assertEqual(lines[-1], "")
        rows = [line.split("\t") for line in lines[:-1]]
        self.assertEqual([row[0] for row in rows], AREA_NAMES + ["Total"])
        for row in rows:
            self.assertEqual(len(row), 5, row)
            self.assertIn(row[1], ("Done", "Partly", "Failed", "Not supported", "n/a", "Not all done"), row)
            self.assertRegex(row[2], r"^(-?\d+|n/a)$")
            self.assertRegex(row[3], r"^\d+$")
            self.assertRegex(row[4], r"^\d+$")
        results = {row[0]: row[1] for row in rows}
        # What Wine does not offer, or only pretends to, never reads Done.
        for name in AREA_NAMES[1:]:
            self.assertIn(results[name], ("Not supported", "n/a"), name)
        self.assertEqual(results["Total"], "Not all done")

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
        report = product.watch_notification(self.session)
        self.session.click(main, "Optimize")
        report.shown()

        options = product.open_options(self.session, main, program)
        options.click("Memory areas...")
        window = AreasWindow(self.session,
                             self.session.wait_window(AREAS_CLASS, "Memory areas", timeout=20, program=program))
        self.assertEqual(sorted(window.rows), sorted(ROWS))
        self.session.screenshot("memory-areas-window")

        # Wine takes every trim; what it freed and how long it took are as measured.
        self.assertRegex(window.result("Working sets of all processes"),
                         r"^Done: [1-9]\d* trimmed, 0 refused, 0 excluded$")
        self.assertRegex(window.result("Working sets of all processes", "freed"), r"^-?[\d.]+$")
        self.assertRegex(window.result("Working sets of all processes", "time"), r"^\d+$")
        # Wine answers the purge but cannot tell the lists: never "Done".
        self.assertEqual(window.result("Standby list"), "n/a")
        self.assertEqual(window.result("Standby list", "freed"), "n/a")
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

"""Automation: an Optimize when the load runs high, at most once per cooldown; the hotkey; a
slow Optimize during which the window goes on working."""

import time

import harness
import product
from harness import RegistryValue
from product import AREAS_CLASS, AREAS_KEY, AUTOMATION_CLASS, AUTOMATION_KEY
from test_areas import NOT_RUN, AreasWindow

PASS_DELAY_VARIABLE = "PRAVELO_TEST_PASS_DELAY_MS"
OPTIMIZED = "Optimized."
SAMPLES = 8
PASS_DELAY_MS = 500
SAMPLES = 8


class AutomationTest(product.ProductTestCase):
    def set_automation(self, name, text):
        self.session.reg_add(AUTOMATION_KEY, name, "REG_SZ", text)

    def last_results(self, main, program, column="result"):
        """The Memory areas window's last result (or freed MB, or time) of each area, read and
        closed again."""
        options = product.open_options(self.session, main, program)
        options.click("Memory areas...")
        window = AreasWindow(self.session, self.session.wait_window(AREAS_CLASS, "Memory areas", timeout=20,
                                                                    program=program))
        results = {row: window.result(row, column) for row in window.rows}
        self.session.close_window(window.window)
        self.session.wait_gone(window.window)
        self.session.close_window(options.window)
        self.session.wait_gone(options.window)
        return results

    def test_a_high_load_runs_the_automatic_areas_once_per_cooldown(self):
        self.session.skip_window_manager_waits()
        self.set_setting("AutoOptimize", "0")  # only the threshold optimizes here
        # Any machine is above 1 %.
        self.set_automation("Threshold", "1")
        self.set_automation("Cooldown", "60")
        program, main = product.start_main(self.session)

        # Two refreshes of 170 ms each at a load above it: the pass comes at once.
        time.sleep(3)
        results = self.last_results(main, program)
        self.assertRegex(results["Working sets of all processes"], r"^Done: [1-9]\d* trimmed, 0 refused, 0 excluded$")
        self.assertEqual(results["Standby list"], NOT_RUN)
        # A pass that ran now would show these areas instead.
        self.session.reg_add(AREAS_KEY, "Automatic", "REG_SZ", "StandbyList")
        time.sleep(8)
        results = self.last_results(main, program)
        self.assertEqual(results["Standby list"], NOT_RUN, "a second pass inside the cooldown")
        self.assertNotEqual(results["Working sets of all processes"], NOT_RUN)
        # No notification: an automatic pass is quiet, as the timer's is.
        self.assertEqual(product.notifications(self.session, main), [])

        self.session.close_window(main)
        self.assertEqual(program.wait(60), 0)

    def test_the_hotkey_runs_optimize_with_its_report(self):
        self.set_automation("Hotkey", "Ctrl+Alt+O")
        program, main = product.start_main(self.session)
        self.assertEqual(product.notifications(self.session, main), [], "the hotkey was refused")
        xdotool = ["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Pravelo$", "windowfocus", "--sync",
                   "key", "ctrl+alt+o"]
        report = product.watch_notification(self.session)
        self.assertEqual(harness.run_quietly(xdotool, self.session.env, 30), 0)
        self.assertTrue(report.shown().text.startswith(OPTIMIZED))
        self.session.screenshot("hotkey-report")

        self.session.close_window(main)
        self.assertEqual(program.wait(60), 0)

    def test_the_window_refuses_bad_input_and_saves_good_input(self):
        self.session.skip_window_manager_waits()
        program, main = product.start_main(self.session)
        options = product.open_options(self.session, main, program)
        options.click("Automation...")
        window = self.session.wait_window(AUTOMATION_CLASS, "Automation", timeout=20, program=program)
        threshold, cooldown, hotkey, exclusions = sorted(
            (c for c in self.session.children(window) if c.class_name.lower() == "edit"), key=lambda c: c.rect[1])
        self.assertEqual(self.session.text(cooldown), "60")
        # Beside the list: the deep pass cannot leave those programs out.
        note = [c for c in self.session.children(window) if c.text.startswith("The deep optimization")]
        self.assertEqual(len(note), 1)
        self.assertGreater(note[0].rect[1], exclusions.rect[1])
        self.session.screenshot("automation-window")
        self.session.click(window, "Optimize when the memory load reaches (%)")
        before = self.session.reg_values(AUTOMATION_KEY)
        for box, text, message in ((threshold, "100", "The load must be a whole number from 1 to 99."),
                                   (threshold, "80", None), (cooldown, "a minute", "The wait must be"),
                                   (cooldown, "30", None), (exclusions, "game.exe;;x.exe", "Each excluded")):
            self.session.set_text(box, text)
            if message:
                self.session.click(window, "Save")
                shown = self.session.press_ok(product.BOX_TITLE)
                self.assertTrue(shown.startswith(message), shown)
                self.assertTrue(shown.endswith("Nothing was saved."), shown)
                self.assertEqual(self.session.reg_values(AUTOMATION_KEY), before)
        self.session.set_text(exclusions, "game.exe; x.exe")
        self.session.set_text(hotkey, "alt+ctrl+p")
        self.session.click(window, "Save")
        self.assertEqual(self.session.press_ok(product.BOX_TITLE), "Saved")
        self.session.wait_gone(window)
        self.assertEqual(self.session.reg_values(AUTOMATION_KEY),
                         {"Threshold": RegistryValue("REG_SZ", "80"), "Cooldown": RegistryValue("REG_SZ", "30"),
                          "Hotkey": RegistryValue("REG_SZ", "Ctrl+Alt+P"),
                          "Exclusions": RegistryValue("REG_SZ", "game.exe; x.exe")})
        self.assertEqual(len(self.session.reg_values(product.SETTINGS_KEY)), 7)

    def test_the_graph_keeps_moving_during_a_slow_optimize(self):
        self.session.skip_window_manager_waits()
        # Enough processes for a pass of several seconds at half a second each.
        sample = self.session.install([harness.setting("PRAVELO_SAMPLE")], "C:\\Sample")
        for _ in range(SAMPLES):
            self.session.wait_window("PraveloSample.Main", timeout=30, program=self.session.start(sample))
        program, main = product.start_main(self.session, env={PASS_DELAY_VARIABLE: str(PASS_DELAY_MS)})
        viewport = product.graph_viewport(self.session, main)
        report = product.watch_notification(self.session, timeout=120)
        clicked = time.monotonic()
        self.session.click(main, "Optimize")
        # Only the screen is read meanwhile: asking the window for its texts would wait for
        # each pause of the pass.
        shots = []
        for label in ("during-pass-1", "during-pass-2"):
            time.sleep(1)
            shots.append(harness.Pixels(self.session.screenshot(label), viewport))
        second_shot = time.monotonic() - clicked
        self.assertTrue(report.shown().text.startswith(OPTIMIZED))

        # Both pictures were taken while the processes were still being trimmed.
        trims = self.last_results(main, program, "time")["Working sets of all processes"]
        trim_ms = int(trims)
        self.assertGreater(trim_ms / 1000, second_shot, trims)
        self.assertNotEqual(shots[0].data, shots[1].data, "the graph stood still during the pass")

        self.session.close_window(main)
        self.assertEqual(program.wait(60), 0)


if __name__ == "__main__":
    harness.main()

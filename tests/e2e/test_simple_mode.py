"""The simple-mode window in place of the main window, and its four buttons."""

import harness
import product
from product import BOX_TITLE, MAIN_CLASS, SIMPLE_CLASS, SIMPLE_TITLE

# Shown in Korean whatever the language of the other texts.
OPTIMIZED_TEXT = "최적화가 되었습니다."


class SimpleModeTest(product.ProductTestCase):
    def enter_simple_mode(self, started, main):
        self.session.click(main, "Simple Mode")
        simple = self.session.wait_window(SIMPLE_CLASS, SIMPLE_TITLE, timeout=10, program=started)
        self.assertTrue(harness.wait_until(lambda: not self.visible(MAIN_CLASS, main.pid), 10),
                        "the main window stayed")
        return simple

    def test_simple_window_replaces_the_main_window_and_its_buttons_work(self):
        # End ends the program even where a close goes to the tray.
        self.set_setting("MinAtClose", "1")
        started, main = product.start_main(self.session, self.program)
        simple = self.enter_simple_mode(started, main)
        children = self.session.children(simple)
        self.assertEqual(sorted(c.text for c in children if c.class_name.lower() == "button"),
                         ["End", "Optz.", "Togle", "Tray"])
        labels = [c.text for c in children if c.class_name.lower() == "static"]
        self.assertEqual(len(labels), 2)
        self.assertRegex(labels[0], r"^\d{1,3}%$")
        self.assertEqual(labels[0], labels[1])
        self.session.screenshot("simple-mode")

        self.session.click(simple, "Optz.")
        self.assertEqual(self.session.press_ok(BOX_TITLE), OPTIMIZED_TEXT)

        self.session.click(simple, "Togle")
        back = harness.wait_until(
            lambda: self.visible(MAIN_CLASS, main.pid) and not self.visible(SIMPLE_CLASS, main.pid), 10)
        self.assertTrue(back, "Togle did not bring the main window back")

        simple = self.enter_simple_mode(started, main)
        self.session.click(simple, "End")
        self.assertEnded(started, main.pid)

    def test_alt_f4_ends_the_program_or_goes_to_the_tray_and_tray_hides_both_windows(self):
        started, main = product.start_main(self.session, self.program)
        simple = self.enter_simple_mode(started, main)
        self.session.press_key(simple, "f4", alt=True)
        self.assertEnded(started, main.pid)

        started, main = product.start_main(self.session, self.program)
        simple = self.enter_simple_mode(started, main)
        self.session.click(simple, "Tray")
        self.assertInTray(started, main.pid)
        self.session.close_window(main)
        self.assertEnded(started, main.pid)

        # Alt+F4 is a close request of the program: with "MinAtClose" it goes to the tray.
        self.set_setting("MinAtClose", "1")
        started, main = product.start_main(self.session, self.program)
        simple = self.enter_simple_mode(started, main)
        self.session.press_key(simple, "f4", alt=True)
        self.assertInTray(started, main.pid)


if __name__ == "__main__":
    harness.main()

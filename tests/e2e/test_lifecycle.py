"""What closing and minimizing the main window do, as the settings "MinAtClose" and
"MinimizeTray" say."""

import harness
import product
from product import MAIN_CLASS


class LifecycleTest(product.ProductTestCase):
    def test_closing_ends_the_program_unless_min_at_close_is_exactly_1(self):
        self.set_setting("MinAtClose", "01")
        started, main = product.start_main(self.session, self.program)
        self.session.close_window(main)
        self.assertEnded(started, main.pid)

        self.set_setting("MinAtClose", "1")
        started, main = product.start_main(self.session, self.program)
        self.session.close_window(main)
        self.assertInTray(started, main.pid)
        self.session.screenshot("closed-to-tray")
        # With no window visible a close request goes ahead.
        self.session.close_window(main)
        self.assertEnded(started, main.pid)

    def test_minimize_moves_to_the_tray_only_when_minimize_tray_rounds_to_non_zero(self):
        # Halves round to even.
        for text, to_tray in (("0.5", False), ("0.6", True), ("0.4", False), ("1.5", True)):
            self.set_setting("MinimizeTray", text)
            started, main = product.start_main(self.session, self.program)
            self.session.click(main, "Minimize")
            if to_tray:
                self.assertInTray(started, main.pid)
            else:
                minimized = harness.wait_until(
                    lambda: [w for w in product.top_level(self.session, MAIN_CLASS, main.pid)
                             if product.is_minimized(w) and w.visible], 10)
                self.assertTrue(minimized, f"{text}: not minimized")
                self.assertEqual(self.session.tray_icons(), [], text)
            self.session.close_window(main)
            self.assertEnded(started, main.pid)


if __name__ == "__main__":
    harness.main()

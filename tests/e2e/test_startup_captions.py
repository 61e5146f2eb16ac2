"""The captions of all three windows after start-up, in the user's interface language."""

import harness

# Window class, the window's own caption, the captions of its controls, by string number.
WINDOWS = (
    ("Pravelo.Form1", None, (101, 102, 103, 105, 107, 108, 110)),
    ("Pravelo.Form2", 115, (116, 117, 118, 119, 120, 121, 122, 123, 137, 112, 141, 160, 177)),
    ("Pravelo.Form3", 124, (125, 126, 127, 128)),
)
DISPLAY_KEY = "HKCU\\Software\\zEVID\\PraveloDisplay"
LANGUAGES = (("en_US.UTF-8", harness.ENGLISH), ("ko_KR.UTF-8", harness.KOREAN), ("de_DE.UTF-8", "de"),
             ("ja_JP.UTF-8", "ja"))


class StartupCaptionTest(harness.E2ETestCase):
    def test_captions_come_from_the_table_of_the_interface_language(self):
        program = self.session.install_product()
        for lang, language in LANGUAGES:
            with self.subTest(lang=lang):
                texts = harness.string_table(language)
                started = self.session.start(program, lang=lang)
                main = self.session.wait_window("Pravelo.Form1", "Pravelo", timeout=60, program=started)
                self.session.screenshot(f"main-window-{lang}")
                top_level = {window.class_name: window for window in self.session.windows()
                             if window.pid == main.pid}
                for class_name, caption, controls in WINDOWS:
                    window = top_level.get(class_name)
                    self.assertIsNotNone(window, class_name)
                    # The options and simple-mode windows exist after start-up, not shown.
                    self.assertEqual(window.visible, class_name == "Pravelo.Form1", class_name)
                    if caption is not None:
                        self.assertEqual(window.text, texts[caption], class_name)
                    shown = [child.text for child in self.session.children(window)]
                    for number in controls:
                        self.assertIn(texts[number], shown, f"{class_name}: text {number}")
                self.session.close_window(main)
                self.assertEqual(started.wait(60), 0)

    def test_the_stored_language_wins_over_windows_and_nonsense_counts_as_none(self):
        program = self.session.install_product()
        for value_type, value, language in (("REG_SZ", "ja-JP", "ja"), ("REG_SZ", "de", "de"),
                                            ("REG_DWORD", "1041", harness.ENGLISH),
                                            ("REG_SZ", "xx-" + "y" * 300, harness.ENGLISH)):
            with self.subTest(value=value):
                self.session.reg_add(DISPLAY_KEY, "Language", value_type, value)
                started = self.session.start(program, lang="en_US.UTF-8")
                main = self.session.wait_window("Pravelo.Form1", "Pravelo", timeout=60, program=started)
                shown = [child.text for child in self.session.children(main)]
                self.assertIn(harness.string_table(language)[101], shown)
                self.session.close_window(main)
                self.assertEqual(started.wait(60), 0)


if __name__ == "__main__":
    harness.main()

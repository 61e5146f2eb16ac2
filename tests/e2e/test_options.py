"""The options window: what it shows, what Save stores, and the machine-wide autostart and
kernel settings, also when the machine refuses them."""


import harness
import product
from harness import RegistryValue, digest, wait_for
from product import MEMORY_KEY, RUN_KEY, RUN_VALUE, SETTINGS_KEY

AUTOSTART = "Automatically start this Program when Windows starts"
AUTO_OPTIMIZE = "Auto Optimize"
MINIMIZE_TRAY = "Move on tray if you Minimize the Window"
MIN_AT_CLOSE = "Minimize if you close the window"
TRAY_AT_START = "Move on tray if you run this program"
KERNEL = "Allocate Kernel on Memory over XP"
ENGLISH_CAPTIONS = sorted([AUTO_OPTIMIZE, "Optimize Interval(s)", "0:Do not", MIN_AT_CLOSE, TRAY_AT_START,
                           MINIMIZE_TRAY, KERNEL, AUTOSTART, "Save", "Update", "Version " + product.VERSION,
                           "Memory areas...", "Automation...", "Language..."])
KOREAN_CAPTIONS = sorted(["자동최적화", "최적화간격 설정(초)", "0은 없음", "닫기 버튼 누를 시 최소화",
                          "프로그램 시작 시 트레이로 전환", "최소화 시 트레이로 이동", "XP 이상 커널 메모리에 할당",
                          "시스템 시작시 자동 시작", "저장", "업데이트", "Version " + product.VERSION, "메모리 영역...",
                          "자동화...", "언어..."])
SAVED = "Saved"
NEEDS_ADMINISTRATOR = "Saved\r\nAutostart and kernel settings need administrator rights."
SYSTEM_COPY = "C:\\windows\\system32\\Pravelo1.exe"
SYSTEM_PICTURE = "C:\\windows\\system32\\pravelo_pic.bmp"


def text(value):
    return RegistryValue("REG_SZ", value)


class OptionsWindowTest(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        self.session.install_product()
        self.session.skip_window_manager_waits()

    def setting(self, name):
        return self.session.reg_query(SETTINGS_KEY, name)

    def settings(self, *names):
        return {name: self.setting(name) for name in names}

    def run_value(self):
        return self.session.reg_query(RUN_KEY, RUN_VALUE)

    def toggle(self, options, caption, now):
        options.click(caption)
        self.assertEqual(wait_for(lambda: options.checked(caption), now), now, caption)

    def set_access(self, mode, key):
        machine_key = key.split("\\", 1)[1]
        self.assertEqual(self.session.run(harness.setting("PRAVELO_REGISTRY_ACCESS"), [mode, machine_key]), 0)

    def test_op_shows_the_stored_values_and_save_stores_every_box_and_the_interval_as_typed(self):
        # Two patterns, before and after, so that no two boxes could be swapped unnoticed.
        for name, value in {"AutoOptimize": "1", "MinimizeTray": "1", "MinAtClose": "0", "TrayAtStart": "0",
                            "Interval": "35", "KernelMemoryUse": "1"}.items():
            self.session.reg_add(SETTINGS_KEY, name, "REG_SZ", value)
        program, main = product.start_main(self.session)

        options = product.open_options(self.session, main, program)
        self.assertEqual(options.window.text, "Option")
        self.assertEqual(options.captions(), ENGLISH_CAPTIONS)
        self.session.screenshot("options-window")
        shown = {caption: options.checked(caption)
                 for caption in (AUTOSTART, AUTO_OPTIMIZE, MINIMIZE_TRAY, MIN_AT_CLOSE, TRAY_AT_START, KERNEL)}
        # The kernel box shows the machine value, which start-up wrote from KernelMemoryUse.
        self.assertEqual(shown, {AUTOSTART: 0, AUTO_OPTIMIZE: 1, MINIMIZE_TRAY: 1, MIN_AT_CLOSE: 0,
                                 TRAY_AT_START: 0, KERNEL: 1})
        self.assertEqual(options.interval_state(), ("35", True))

        self.session.set_text(options.interval, "7.5")
        self.toggle(options, AUTO_OPTIMIZE, 0)
        self.assertEqual(wait_for(options.interval_state, ("7.5", False)), ("7.5", False))
        self.toggle(options, MIN_AT_CLOSE, 1)
        self.toggle(options, KERNEL, 0)
        self.assertEqual(options.save(), SAVED)

        self.assertEqual(self.settings("AutoStart", "AutoOptimize", "MinimizeTray", "MinAtClose", "TrayAtStart",
                                       "Interval", "KernelMemoryUse"),
                         {"AutoStart": text("0"), "AutoOptimize": text("0"), "MinimizeTray": text("1"),
                          "MinAtClose": text("1"), "TrayAtStart": text("0"), "Interval": text("7.5"),
                          "KernelMemoryUse": text("1")})
        self.assertEqual(self.session.reg_query(MEMORY_KEY, "DisablePagingExecutive"), RegistryValue("REG_DWORD", 0))

        # Shown again as saved; a text that is no number is stored as typed and breaks nothing.
        options = product.open_options(self.session, main, program)
        self.assertEqual((options.checked(AUTO_OPTIMIZE), options.checked(MIN_AT_CLOSE), options.checked(KERNEL)),
                         (0, 1, 0))
        self.assertEqual(options.interval_state(), ("7.5", False))
        self.toggle(options, AUTO_OPTIMIZE, 1)
        self.assertEqual(wait_for(options.interval_state, ("7.5", True)), ("7.5", True))
        for interval in ("-3", "abc"):
            self.session.set_text(options.interval, interval)
            self.assertEqual(options.save(), SAVED)
            self.assertEqual(self.setting("Interval"), text(interval))
            self.assertEqual(self.setting("AutoOptimize"), text("1"))
            options = product.open_options(self.session, main, program)
        self.assertTrue(program.running())

    def test_autostart_copies_the_program_and_its_picture_and_unchecked_removes_the_run_value(self):
        self.session.reg_add(RUN_KEY, RUN_VALUE, "REG_SZ", "C:\\elsewhere\\Pravelo1.exe")
        copy = self.session.drive_c(SYSTEM_COPY)
        picture = self.session.drive_c(SYSTEM_PICTURE)
        program, main = product.start_main(self.session)

        options = product.open_options(self.session, main, program)
        self.assertEqual(options.checked(AUTOSTART), 0)
        self.assertEqual(options.save(), SAVED)
        self.assertIsNone(self.run_value())
        self.assertFalse(copy.exists())

        options = product.open_options(self.session, main, program)
        self.toggle(options, AUTOSTART, 1)
        self.assertEqual(options.save(), SAVED)
        self.assertEqual(self.setting("AutoStart"), text("1"))
        self.assertEqual(self.run_value(), text(SYSTEM_COPY))
        self.assertEqual(digest(copy), digest(harness.setting("PRAVELO_EXE")))
        self.assertEqual(digest(picture), digest(harness.setting("PRAVELO_PICTURE")))

        # Unchecked again: the value goes, the copies stay.
        options = product.open_options(self.session, main, program)
        self.assertEqual(options.checked(AUTOSTART), 1)
        self.toggle(options, AUTOSTART, 0)
        self.assertEqual(options.save(), SAVED)
        self.assertEqual(self.setting("AutoStart"), text("0"))
        self.assertIsNone(self.run_value())
        self.assertTrue(copy.is_file() and picture.is_file())

    def test_a_refused_machine_change_is_named_after_saved_and_the_user_settings_are_kept(self):
        program, main = product.start_main(self.session)
        copy = self.session.drive_c(SYSTEM_COPY)

        # The Run key refuses.
        self.set_access("read-only", RUN_KEY)
        options = product.open_options(self.session, main, program)
        self.toggle(options, AUTOSTART, 1)
        self.session.set_text(options.interval, "20")
        self.assertEqual(options.save(), NEEDS_ADMINISTRATOR)
        self.assertEqual(self.settings("AutoStart", "Interval"), {"AutoStart": text("1"), "Interval": text("20")})
        self.assertIsNone(self.run_value())

        # The memory manager's key refuses; the Run value can be written now.
        self.set_access("writable", RUN_KEY)
        self.set_access("read-only", MEMORY_KEY)
        options = product.open_options(self.session, main, program)
        self.toggle(options, KERNEL, 1)
        self.assertEqual(options.save(), NEEDS_ADMINISTRATOR)
        self.assertEqual(self.run_value(), text(SYSTEM_COPY))
        self.assertEqual(self.session.reg_query(MEMORY_KEY, "DisablePagingExecutive"), RegistryValue("REG_DWORD", 0))

        # The copy into the system folder cannot be made.
        self.set_access("writable", MEMORY_KEY)
        copy.unlink()
        copy.mkdir()
        options = product.open_options(self.session, main, program)
        self.toggle(options, KERNEL, 1)
        self.assertEqual(options.save(), NEEDS_ADMINISTRATOR)
        self.assertEqual(self.session.reg_query(MEMORY_KEY, "DisablePagingExecutive"), RegistryValue("REG_DWORD", 1))

        copy.rmdir()
        options = product.open_options(self.session, main, program)
        self.assertEqual(options.save(), SAVED)
        self.assertTrue(copy.is_file())

    def test_korean_captions_and_answer(self):
        program, main = product.start_main(self.session, lang="ko_KR.UTF-8")
        options = product.open_options(self.session, main, program, caption="옵")
        self.assertEqual(options.window.text, "옵션")
        self.assertEqual(options.captions(), KOREAN_CAPTIONS)
        self.session.screenshot("options-window-korean")
        self.assertEqual(options.save("저장"), "저장 완료")


if __name__ == "__main__":
    harness.main()

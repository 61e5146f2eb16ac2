"""The main window's commands as a user runs them: Optimize with its report and the
system.ini clean-up, the explanation of Optimize2, Optimize2 with its restart, and "/b"."""

import re
import shutil
import time
from pathlib import Path

import harness
import product
from product import BOX_TITLE, MAIN_CLASS

SYSTEM_INI = "C:\\windows\\system.ini"
# Line ends of both kinds, empty lines before the first line, two [vcache] sections (the
# last one at the very end without a line end), a [VCache] section and a "[vcache] " line
# that are something else, and a byte of the ANSI code page.
SYSTEM_INI_BEFORE = (
    b"\r\n\n[boot]\r\nshell=Explorer.exe\n; caf\xe9\r\n"
    b"[vcache]\r\nMinFileCache=4096\r\nMaxFileCache=32768\n\r\n"
    b"[VCache]\r\nChunkSize=512\r\n"
    b"[386Enh]\n[vcache] \r\nwoafont=dosapp.fon\r\n\r\n"
    b"[drivers]\r\nwave=mmdrv.dll\r\n"
    b"[vcache]\nMaxFileCache=1")
SYSTEM_INI_AFTER = (
    b"[boot]\r\nshell=Explorer.exe\r\n; caf\xe9\r\n"
    b"[VCache]\r\nChunkSize=512\r\n"
    b"[386Enh]\r\n[vcache] \r\nwoafont=dosapp.fon\r\n\r\n"
    b"[drivers]\r\nwave=mmdrv.dll\r\n")

EXPLANATION_EN = ("Uses much Memory, than the Memory Optimizes. "
                  "Don't use it when you are working some important things.")
# The Korean text holds a "\n" that becomes a line break.
EXPLANATION_KO = "시스템에 메모리를 많이 먹혀 메모리를 최적화는 기법입니다.\r\n작업중에는 권장하지 않습니다. 효과는 있을 수 있습니다."
EXPLAIN_CAPTION_KO = "극도최적화란?"

HOLD_S = 5
# Room for the memory other programs take or give back between two readings.
FIGURE_DRIFT_MB = 256


def number(separator):
    """A figure in its shortest text form: no leading or trailing zeros, no grouping."""
    return rf"-?(?:0|[1-9]\d*)(?:{re.escape(separator)}\d?[1-9])?"


def value(text, separator):
    return float(text.replace(separator, "."))


class CommandsTest(product.ProductTestCase):
    def setUp(self):
        super().setUp()
        self.windows_folder = self.session.drive_c("C:\\windows")

    def assertPlausibleAvailable(self, megabytes):
        # Catches a wrong unit or scale, not the drift of the host's memory.
        host = product.host_available_megabytes()
        self.assertTrue(0.5 * host < megabytes < 1.5 * host, f"{megabytes} MB, host has {host} MB")

    def shown_images(self):
        return [w.image for w in self.session.windows() if w.visible]

    def wait_no_notification(self, main):
        gone = harness.wait_until(lambda: not product.notifications(self.session, main),
                                  product.NOTIFICATION_LIFETIME_S + 8)
        self.assertTrue(gone, "the notification did not close by itself")

    def optimize_report(self, main, separator):
        """Clicks Optimize; the freed, before and after figures of its report."""
        shown = product.watch_notification(self.session)
        self.session.click(main, "Optimize")
        text = shown.shown().text
        figure = number(separator)
        match = re.fullmatch(rf"Optimized\.({figure})MB\r\n({figure}) MB -> ({figure}) MB", text)
        self.assertIsNotNone(match, repr(text))
        return [value(group, separator) for group in match.groups()]

    def test_optimize_removes_the_vcache_sections_and_reports_the_figures(self):
        ini = self.session.drive_c(SYSTEM_INI)
        ini.write_bytes(SYSTEM_INI_BEFORE)
        # The user's own decimal separator, not the locale's.
        self.session.reg_add("HKCU\\Control Panel\\International", "sDecimal", "REG_SZ", ",")
        started, main = product.start_main(self.session, self.program)
        names_before = sorted(p.name for p in self.windows_folder.iterdir())

        freed, before, after = self.optimize_report(main, ",")
        self.assertEqual(ini.read_bytes(), SYSTEM_INI_AFTER)
        # The rewrite leaves no temporary file beside it.
        self.assertEqual(sorted(p.name for p in self.windows_folder.iterdir()), names_before)
        self.assertAlmostEqual(freed, after - before, delta=FIGURE_DRIFT_MB)
        self.assertPlausibleAvailable(before)
        self.session.screenshot("optimize-report")
        self.wait_no_notification(main)

        # Without the file the report still comes, and no file appears.
        ini.unlink()
        freed, before, after = self.optimize_report(main, ",")
        self.assertAlmostEqual(freed, after - before, delta=FIGURE_DRIFT_MB)
        self.assertFalse(ini.exists())
        self.assertEqual(sorted(p.name for p in self.windows_folder.iterdir()),
                         [name for name in names_before if name != "system.ini"])

        self.session.close_window(main)
        self.assertEqual(started.wait(60), 0)

    def test_what_is_optimize2_explains_in_a_box_titled_pravelo(self):
        for lang, caption, explanation in ((None, "What is Optimize2?", EXPLANATION_EN),
                                           ("ko_KR.UTF-8", EXPLAIN_CAPTION_KO, EXPLANATION_KO)):
            started, main = product.start_main(self.session, self.program, lang=lang)
            self.session.click(main, caption)
            self.assertEqual(self.session.press_ok(BOX_TITLE), explanation, lang)
            closed = harness.wait_until(lambda: not product.top_level(self.session, "#32770"), 10)
            self.assertTrue(closed, "OK did not close the box")
            self.session.close_window(main)
            self.assertEqual(started.wait(60), 0, lang)

    def test_optimize2_ends_this_instance_and_the_new_one_reports(self):
        # A blank in the folder, and a program where an unquoted path would lead.
        folder = "C:\\Memory Tools"
        program = self.session.install_product(folder)
        shutil.copy(harness.setting("PRAVELO_SAMPLE"), self.session.drive_c("C:\\Memory.exe"))
        # The hand-over ends this instance even where a close goes to the tray.
        self.set_setting("MinAtClose", "1")
        old, main = product.start_main(self.session, program, env=product.DEEP_FILL_LIMIT)
        clicked = time.monotonic()
        self.session.click(main, "Optimize2")

        # While the pass holds its memory the window answers, and a second pass cannot start.
        code, _ = self.session.driver("click", "--window", main.handle, "--caption", "Optimize2",
                                      "--timeout", "0")
        self.assertEqual(code, 3, "Optimize2 could be clicked during the pass")
        self.assertEqual(self.session.text(main), product.MAIN_TITLE)

        # The old instance's own notification on its way out is not the report.
        shown = product.watch_notification(self.session, timeout=90, other_than=main.pid)
        self.assertEqual(old.wait(60), 0)
        self.assertGreaterEqual(time.monotonic() - clicked, HOLD_S)
        fresh = harness.wait_until(
            lambda: [w for w in product.top_level(self.session, MAIN_CLASS) if w.visible and w.pid != main.pid],
            30)
        self.assertTrue(fresh, f"no new instance showed its window; windows: {self.shown_images()}")
        self.assertEqual([image for image in self.shown_images() if image.lower() != "explorer.exe"],
                         ["pravelo.exe"])
        box = shown.shown()
        self.session.screenshot("optimize2-report")
        self.assertEqual(box.pid, fresh[0].pid)
        report = box.text

        match = re.fullmatch(rf"Optimize2 Complete\r\n(\d+) MB ->({number('.')}) MB", report)
        self.assertIsNotNone(match, repr(report))
        before = match.group(1)
        self.assertPlausibleAvailable(int(before))
        self.assertPlausibleAvailable(float(match.group(2)))
        running = [arguments for _, arguments in self.session.processes()
                   if arguments[0].lower().endswith("pravelo.exe")]
        self.assertEqual(running, [[folder + "\\pravelo.exe", "/o", before]])
        self.assertEqual(product.top_level(self.session, MAIN_CLASS, main.pid), [])
        # The new instance, started by the old one, ends with the session's prefix.

    def test_b_fills_up_to_the_cap_holds_about_five_seconds_and_ends(self):
        peaks = {}
        for cap_mb in (16, 64):
            started_at = time.monotonic()
            started = self.session.start(self.program, ["/b"],
                                         env={product.DEEP_FILL_LIMIT_VARIABLE: str(cap_mb)})
            peak_kb = 0
            while started.running() and time.monotonic() - started_at < 30:
                peak_kb = max(peak_kb, peak_resident_kb(started.process.pid))
                time.sleep(0.1)
            self.assertEqual(started.wait(10), 0, cap_mb)
            elapsed = time.monotonic() - started_at
            self.assertGreaterEqual(elapsed, HOLD_S, cap_mb)
            self.assertLess(elapsed, 20, cap_mb)
            peaks[cap_mb] = peak_kb
        # Every block is really committed, and the cap holds: 48 MiB more at the peak.
        self.assertAlmostEqual((peaks[64] - peaks[16]) / 1024, 64 - 16, delta=8, msg=peaks)


def peak_resident_kb(pid):
    """The process's peak resident memory so far; 0 once it has gone."""
    try:
        status = Path(f"/proc/{pid}/status").read_text(encoding="ascii")
    except OSError:
        return 0
    match = re.search(r"^VmHWM:\s+(\d+) kB", status, re.MULTILINE)
    return int(match.group(1)) if match else 0


if __name__ == "__main__":
    harness.main()

"""The harness and its driver, proved on the sample program rather than on the product."""

import struct
import time
import unittest
from pathlib import Path

import harness
from harness import HarnessError

SAMPLE_CLASS = "PraveloSample.Main"
SAMPLE_TITLE = "Pravelo Sample"
# Wine closes a desktop this long after its last program ended.
DESKTOP_CLOSE_S = 1
SAMPLE_KEY = "HKCU\\Software\\PraveloSample"
# A fixed layout puts the heap on the page after the loader; a random one anywhere in the
# gigabyte above it.
LOADER_HEAP_GAP = 1 << 20


def png_size(path):
    data = Path(path).read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
    return struct.unpack(">II", data[16:24])


def wine_processes_of(prefix):
    """Processes whose environment names this prefix: Wine programs and their server."""
    marker = f"WINEPREFIX={prefix}".encode()
    found = []
    for entry in Path("/proc").iterdir():
        if entry.name.isdigit():
            try:
                if marker in (entry / "environ").read_bytes().split(b"\0"):
                    found.append(int(entry.name))
            except OSError:
                pass
    return found


class HarnessSelfTest(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        # A blank in the folder, as in a real installation path.
        self.sample = self.session.install([harness.setting("PRAVELO_SAMPLE")], "C:\\Sample Folder")

    def wait_text(self, window, expected, timeout=10):
        deadline = time.monotonic() + timeout
        while True:
            text = self.session.text(window)
            if text == expected or time.monotonic() > deadline:
                return text
            time.sleep(0.2)

    def wait_value(self, key, name, timeout=10):
        deadline = time.monotonic() + timeout
        while True:
            value = self.session.reg_query(key, name)
            if value is not None or time.monotonic() > deadline:
                return value
            time.sleep(0.2)

    def test_drives_window_buttons_label_registry_and_exit_code(self):
        program = self.session.start(self.sample, ["/exit", "7"])
        window = self.session.wait_window(SAMPLE_CLASS, SAMPLE_TITLE, program=program)
        self.assertTrue(window.visible)
        self.assertEqual(window.image, "e2e_sample_app.exe")
        self.assertGreater(window.size[0], 0)

        children = self.session.children(window)
        buttons = sorted(child.text for child in children if child.class_name.lower() == "button")
        self.assertEqual(buttons, ["&Save", "Count"])
        label = next(child for child in children if child.class_name.lower() == "static")
        self.assertEqual(label.text, "Clicks: 0")

        self.session.click(window, "Count")
        self.session.click(window, "Count")
        self.assertEqual(self.wait_text(label, "Clicks: 2"), "Clicks: 2")
        # Captions match without their accelerator mark as well.
        self.session.click(window, "Save")
        self.assertEqual(self.wait_value(SAMPLE_KEY, "Label"), harness.RegistryValue("REG_SZ", "Clicks: 2"))
        self.assertEqual(self.session.reg_query(SAMPLE_KEY, "Clicks"), harness.RegistryValue("REG_DWORD", 2))

        shot = self.session.screenshot("sample-window")
        self.assertEqual(png_size(shot), (1280, 1024))

        self.session.close_window(window)
        self.assertEqual(program.wait(30), 7)
        self.assertNotIn(window.handle, [w.handle for w in self.session.windows()])

    def test_presses_message_box_ok_and_sends_alt_f4(self):
        program = self.session.start(self.sample, ["/box"])
        self.assertEqual(self.session.press_ok("Sample Box"), "샘플 메시지\nsecond line")
        window = self.session.wait_window(SAMPLE_CLASS, SAMPLE_TITLE)
        self.session.press_key(window, "f4", alt=True)
        self.assertEqual(program.wait(30), 0)

    def test_registry_helpers_round_trip_and_report_missing_values(self):
        self.assertIsNone(self.session.reg_query("HKCU\\Software\\PraveloNoSuchKey", "Value"))
        self.session.reg_add(SAMPLE_KEY, "Text With Blanks", "REG_SZ", "7.5 and more")
        self.session.reg_add(SAMPLE_KEY, "Empty", "REG_SZ", "")
        self.session.reg_add(SAMPLE_KEY, "Number", "REG_DWORD", 4294967295)
        self.assertEqual(self.session.reg_query(SAMPLE_KEY, "Text With Blanks"),
                         harness.RegistryValue("REG_SZ", "7.5 and more"))
        self.assertEqual(self.session.reg_query(SAMPLE_KEY, "Empty"), harness.RegistryValue("REG_SZ", ""))
        self.assertEqual(self.session.reg_query(SAMPLE_KEY, "Number"),
                         harness.RegistryValue("REG_DWORD", 4294967295))
        self.assertIsNone(self.session.reg_query(SAMPLE_KEY, "Missing"))
        self.session.set_windows_version("win10")
        self.assertEqual(self.session.reg_query("HKCU\\Software\\Wine", "Version"),
                         harness.RegistryValue("REG_SZ", "win10"))

    def test_runs_programs_under_the_chosen_language(self):
        for lang, language in ((None, 0x0409), ("ko_KR.UTF-8", 0x0412), ("en_US.UTF-8", 0x0409)):
            program = self.session.start(self.sample, lang=lang)
            window = self.session.wait_window(SAMPLE_CLASS, SAMPLE_TITLE, program=program)
            self.assertEqual(self.session.reg_query(SAMPLE_KEY, "Language"),
                             harness.RegistryValue("REG_DWORD", language), lang)
            self.session.close_window(window)
            self.assertEqual(program.wait(30), 0)

    def test_waits_are_bounded_and_missing_targets_are_errors(self):
        started = time.monotonic()
        with self.assertRaises(HarnessError):
            self.session.wait_window("NoSuchClass.Anywhere", timeout=1)
        program = self.session.start(self.sample)
        window = self.session.wait_window(SAMPLE_CLASS, SAMPLE_TITLE)
        with self.assertRaises(HarnessError):
            self.session.click(window, "No Such Button", timeout=1)
        with self.assertRaises(HarnessError):
            self.session.press_ok("No Such Box", timeout=1)
        with self.assertRaises(HarnessError):
            program.wait(1)
        self.session.close_window(window)
        self.assertEqual(program.wait(30), 0)
        # A wait tied to a program that has ended gives up at once.
        quick = time.monotonic()
        with self.assertRaises(HarnessError):
            self.session.wait_window(SAMPLE_CLASS, SAMPLE_TITLE, timeout=50, program=program)
        self.assertLess(time.monotonic() - quick, 20)
        self.assertLess(time.monotonic() - started, 60)

    def test_programs_apart_by_more_than_a_second_share_one_desktop(self):
        """Wine closes a desktop a second after its last program ended; the session holds it."""
        desktops = []
        for _ in range(2):
            program = self.session.start(self.sample)
            self.session.close_window(self.session.wait_window(SAMPLE_CLASS, SAMPLE_TITLE, program=program))
            self.assertEqual(program.wait(30), 0)
            desktops.append(sorted(pid for pid, arguments in self.session.processes()
                                   if arguments[0].lower().endswith("explorer.exe")))
            time.sleep(DESKTOP_CLOSE_S + 1.5)
        self.assertEqual(len(desktops[0]), 1, desktops)
        self.assertEqual(desktops[0], desktops[1])

    @unittest.skipUnless(harness.FIXED_LAYOUT, "this host refuses a fixed address layout (setarch -R)")
    def test_every_wine_program_has_its_heap_right_after_the_loader(self):
        # A heap placed at random can cover 0x7ffe0000, and the program then never starts.
        self.session.wait_window(SAMPLE_CLASS, SAMPLE_TITLE, program=self.session.start(self.sample))
        heaps = {}
        for pid, arguments in self.session.processes():
            maps = Path(f"/proc/{pid}/maps").read_text()
            loader = [line for line in maps.splitlines() if line.endswith(harness.WINE_LOADER)]
            heap = [line for line in maps.splitlines() if line.endswith("[heap]")]
            if loader and heap:
                loader_end = int(loader[-1].split("-")[1].split()[0], 16)
                heaps[arguments[0]] = int(heap[0].split("-")[0], 16) - loader_end
        self.assertGreaterEqual(len(heaps), 3, heaps)  # the sample and Wine's own programs
        self.assertTrue(all(0 <= gap < LOADER_HEAP_GAP for gap in heaps.values()), heaps)

    def test_closing_a_session_leaves_nothing_behind(self):
        session = harness.WineSession("selftest-closing")
        try:
            program = session.start(session.install([harness.setting("PRAVELO_SAMPLE")]))
            session.wait_window(SAMPLE_CLASS, SAMPLE_TITLE)
            prefix = session.prefix
            xvfb_pid = session.xvfb.process.pid
            socket_folder = harness.server_folder(prefix)
            self.assertTrue((socket_folder / "socket").exists())
            self.assertTrue(wine_processes_of(prefix))
        finally:
            # Closed while the program still runs, as after a failed test.
            session.close()
        self.assertFalse(prefix.exists())
        self.assertFalse(session.folder.exists())
        self.assertEqual(wine_processes_of(prefix), [])
        self.assertIsNotNone(program.process.poll())
        self.assertFalse(harness.process_is(xvfb_pid, "Xvfb"))
        self.assertFalse(socket_folder.exists())


if __name__ == "__main__":
    harness.main()

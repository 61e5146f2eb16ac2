"""What pravelo.exe shows while it runs: load and figures, the title, the graph, the tray icon
and the notifications of the report switch."""

import contextlib
import re
import sys
import time
from pathlib import Path

import harness
import product

MAIN_CLASS = "Pravelo.Form1"
TRAY_CLASS = "__winex11_standalone_tray"
LOAD_TEXT = re.compile(r"^(\d{1,3})%$")
FIGURES_TEXT = re.compile(r"^(\d+)MB / (\d+)MB$")
TITLE_PREFIX = f"Pravelo {product.VERSION} - "
# The figures label is filled on the sixth refresh, 5 x 170 ms after start-up's own.
FIGURES_WITHIN_S = 2.0
GRAPH_AFTER_S = 30
GRID_SPACING = 12
BYTES_PER_MIB = 1048576
AVAILABLE_UNIT = 1024000  # bytes per "MB" of the available figure
NOTIFICATION_TOP, NOTIFICATION_EXTRA = 48, 50
# Between the program's timer and the notification's creation; nothing on a busy machine
# takes it near half a second.
NOTIFICATION_START_SLACK_S = 0.5
POLL_S = 0.1
MINIMIZED_S = 5
HELD_PERCENT, HELD_MOST_BYTES, PAGE = 5, 2 << 30, 4096


def meminfo_kib(name):
    for line in Path("/proc/meminfo").read_text().splitlines():
        if line.startswith(name + ":"):
            return int(line.split()[1])
    raise harness.HarnessError(f"no {name} in /proc/meminfo")


def note(text):
    print(text, file=sys.stderr, flush=True)


def is_white(pixel):
    return min(pixel) >= 240


def is_grid_line(pixel):
    # The grid's lines are a brighter green than its background (red 0, green 33, blue 6).
    red, green, blue = pixel
    return green >= 60 and red < 60 and not is_white(pixel)


def wait_until(condition, timeout, what):
    """harness.wait_until that fails the test when the condition never holds."""
    result = harness.wait_until(condition, timeout, POLL_S)
    if not result:
        raise harness.HarnessError(f"{what} not within {timeout} s")
    return result


@contextlib.contextmanager
def memory_held():
    """Holds a few percent of the machine's memory, touched so that it really is in use,
    which raises the load; yields False (and holds nothing) when the machine has too little
    to spare, or so much that a few percent would be gigabytes."""
    total = meminfo_kib("MemTotal") * 1024
    size = total * HELD_PERCENT // 100
    if size > HELD_MOST_BYTES or meminfo_kib("MemAvailable") * 1024 - size < total * 0.3:
        note("not checked: a change of the load (no memory to spare for it)")
        yield False
        return
    block = bytearray(size)
    block[::PAGE] = b"\1" * len(range(0, size, PAGE))
    try:
        yield True
    finally:
        del block


class DisplayTest(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        self.program = self.session.install_product()

    def labels(self, window):
        """The load texts (main window's two labels) and the figures text, or None."""
        texts = [c.text for c in self.session.children(window) if c.class_name == "Static" and c.visible]
        loads = [t for t in texts if LOAD_TEXT.match(t)]
        figures = next((t for t in texts if FIGURES_TEXT.match(t)), None)
        return loads, figures

    def steady_title_and_load(self, window):
        """The title and the load label, read between two equal readings of the label."""
        for _ in range(10):
            before, _ = self.labels(window)
            title = self.session.text(window)
            after, _ = self.labels(window)
            if before == after and before:
                return title, before[0]
        self.fail("the load label kept changing")

    def wait_for_load(self, window, accept, what):
        def reached():
            title, load = self.steady_title_and_load(window)
            # A refresh sets the label and the title one after the other: a reading between the
            # two sees the new label with the old title, so both are read again until they agree.
            if title != TITLE_PREFIX + load:
                return None
            return int(load[:-1]) if accept(int(load[:-1])) else None
        return wait_until(reached, 10, f"{what} that agrees with the load label")

    def test_graph_keeps_the_points_taken_while_minimized(self):
        started = self.session.start(self.program)
        window = self.session.wait_window(MAIN_CLASS, timeout=60, program=started)
        viewport = product.graph_viewport(self.session, window)

        def line_end():
            graph = harness.Pixels(self.session.screenshot("graph"), viewport)
            drawn = [x for x in range(graph.width) if any(is_white(p) for p in graph.column(x))]
            self.assertEqual(drawn, list(range(len(drawn))), "the line has gaps")
            return len(drawn)

        before = line_end()
        self.session.click(window, "Minimize")
        minimized_at = time.monotonic()
        wait_until(lambda: any(w.handle == window.handle and w.rect[:2] == (-32000, -32000)
                               for w in self.session.windows()), 10, "the minimized window")
        time.sleep(MINIMIZED_S)
        self.session.driver("restore", "--window", window.handle)
        wait_until(lambda: any(w.handle == window.handle and w.rect[:2] != (-32000, -32000)
                               for w in self.session.windows()), 10, "the restored window")
        away = time.monotonic() - minimized_at
        after = line_end()
        # Two pixels a refresh, every 170 ms: whatever the load of the machine, at least half
        # of the refreshes while minimized must show, drawn without a gap.
        self.assertGreaterEqual(after - before, int(away / 0.17), (before, after, away))
        self.session.close_window(window)
        self.assertEqual(started.wait(60), 0)

    def test_labels_title_and_scrolled_graph_follow_the_load(self):
        self.session.set_windows_version("win10")
        started = self.session.start(self.program)
        window = self.session.wait_window(MAIN_CLASS, timeout=60, program=started)
        shown = time.monotonic()

        figures = wait_until(lambda: self.labels(window)[1], 5, "the figures label")
        figures_after = time.monotonic() - shown
        note(f"figures label filled {figures_after:.2f} s after the window was seen")
        self.assertLess(figures_after, FIGURES_WITHIN_S)
        loads, _ = self.labels(window)
        self.assertEqual(len(loads), 2, "both load labels")
        self.assertEqual(loads[0], loads[1])
        load = int(loads[0][:-1])
        total, available = (int(n) for n in FIGURES_TEXT.match(figures).groups())
        self.assertEqual(total, round(meminfo_kib("MemTotal") / 1024), "total MB")
        # The available figure counts units of 1,024,000 bytes.
        implied_load = 100 - 100 * available * AVAILABLE_UNIT / (total * BYTES_PER_MIB)
        self.assertLessEqual(abs(load - implied_load), 2.5, figures)

        # Not Windows 7: the title carries the load, and follows it.
        idle = self.wait_for_load(window, lambda n: True, "a steady title")
        with memory_held() as held:
            if held:
                self.wait_for_load(window, lambda n: n > idle, "a title with the higher load")

        time.sleep(max(0.0, shown + GRAPH_AFTER_S - time.monotonic()))
        viewport = product.graph_viewport(self.session, window)
        phases = set()
        for attempt in range(6):
            shot = self.session.screenshot("graph-after-30s" if attempt == 0 else "graph-later")
            graph = harness.Pixels(shot, viewport)
            empty = [x for x in range(graph.width) if not any(is_white(p) for p in graph.column(x))]
            self.assertEqual(empty, [], "columns of the viewport without the white line")
            lines = [x for x in range(graph.width)
                     if sum(map(is_grid_line, graph.column(x))) > graph.height // 2]
            self.assertGreater(len(lines), 1, "vertical grid lines")
            self.assertEqual({x % GRID_SPACING for x in lines}, {lines[0] % GRID_SPACING}, lines)
            phases.add(lines[0] % GRID_SPACING)
            if len(phases) > 1:
                break
        # The whole canvas, grid and all, moves left under the line once it is full.
        self.assertGreater(len(phases), 1, "the grid never moved: the graph does not scroll")

        self.session.close_window(window)
        self.assertEqual(started.wait(60), 0)

    def test_tray_switch_adds_an_icon_that_follows_the_load_answers_and_goes_with_the_program(self):
        # Wine's tray lives only while some program of the prefix runs; this one keeps it up
        # after pravelo.exe has ended, so that an icon left behind would still be seen.
        keeper = self.session.start(self.session.install([harness.setting("PRAVELO_SAMPLE")], "C:\\Sample"))
        self.session.wait_window("PraveloSample.Main", timeout=30, program=keeper)

        started = self.session.start(self.program, ["/tray"])
        main = self.session.wait_window(MAIN_CLASS, "Pravelo", timeout=60, program=started)
        self.session.wait_window(TRAY_CLASS, "Wine System Tray", timeout=10)
        icons = self.session.tray_icons()
        self.assertEqual(len(icons), 1)
        rect = icons[0].rect
        icon = harness.Pixels(self.session.screenshot("tray"), rect)
        pixels = [icon.at(x, y) for y in range(icon.height) for x in range(icon.width)]
        dark = sum(max(p) < 100 for p in pixels)
        light = sum(min(p) > 200 for p in pixels)
        # Black digits of the load on the canvas's white.
        self.assertGreater(dark, 5)
        self.assertGreater(light, 2 * dark)

        # Going to the tray again keeps the one icon, and it still shows the load.
        self.session.click(main, "Move on Tray")
        wait_until(lambda: not any(w.visible for w in self.session.windows() if w.class_name == MAIN_CLASS), 10,
                   "the main window hidden")
        self.assertEqual(len(self.session.tray_icons()), 1)
        with memory_held() as held:
            if held:
                wait_until(lambda: harness.Pixels(self.session.screenshot("tray-busy"), rect).data != icon.data,
                           10, "a new picture in the icon")

        # A left click comes back to the program, which opens its window and takes the icon out.
        self.session.click_at((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)
        self.session.wait_window(MAIN_CLASS, "Pravelo", timeout=10)
        wait_until(lambda: not self.session.tray_icons(), 10, "the icon's removal after a click")

        self.session.click(main, "Move on Tray")
        wait_until(self.session.tray_icons, 10, "the icon after Move on Tray")
        self.session.close_window(main)
        self.assertEqual(started.wait(60), 0)
        # The unload takes the icon out too.
        wait_until(lambda: not self.session.tray_icons(), 10, "the icon's removal at the end")
        self.assertTrue(keeper.running())

    def test_report_switch_shows_a_notification_that_closes_by_itself(self):
        complete = harness.string_table(harness.ENGLISH)[138]
        for args, shown_argument in ((["/o", "1536"], "1536"), (["/o"], ""), (["/oXY1"], "Y1")):
            with self.subTest(args=args):
                host_before = meminfo_kib("MemAvailable")
                shown = product.watch_notification(self.session)
                started = self.session.start(self.program, args, lang="en_US.UTF-8")
                window = self.session.wait_window(MAIN_CLASS, "Pravelo", timeout=60, program=started)
                client = self.session.client_rect(window)
                box = shown.shown()
                text = re.fullmatch(re.escape(f"{complete}\r\n{shown_argument} MB ->") + r"(\d+(?:\.\d{1,2})?) MB",
                                    box.text)
                self.assertIsNotNone(text, repr(box.text))
                self.assertEqual((box.rect[0] - client[0], box.rect[1] - client[1], box.size[0]),
                                 (0, NOTIFICATION_TOP, product.NOTIFICATION_WIDTH))
                # Two lines of text, each 8 to 24 pixels high, and the margin.
                self.assertIn(box.size[1] - NOTIFICATION_EXTRA, range(16, 49), box.size)
                total, available = (int(n) for n in FIGURES_TEXT.match(
                    wait_until(lambda: self.labels(window)[1], 5, "the figures label")).groups())
                # Other tests share the host's memory: the figures may differ by as much as the
                # host's available memory moved between the start and this reading.
                host_moved = abs(meminfo_kib("MemAvailable") - host_before) * 1024 / AVAILABLE_UNIT
                self.assertLessEqual(abs(float(text.group(1)) - available), total / 100 + 1 + host_moved)

                lived = shown.lived()
                self.assertGreaterEqual(lived, product.NOTIFICATION_LIFETIME_S - NOTIFICATION_START_SLACK_S)
                self.assertLess(lived, 3 * product.NOTIFICATION_LIFETIME_S)
                self.session.close_window(window)
                self.assertEqual(started.wait(60), 0)


if __name__ == "__main__":
    harness.main()

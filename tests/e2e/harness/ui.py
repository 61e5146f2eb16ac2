"""Windows as our driver program sees and presses them, from outside the program under test."""

import re
import subprocess
import time
from dataclasses import dataclass

from .common import HarnessError, run_quietly, setting, wait_until
from .wine import WINE

DRIVER_MARGIN_S = 30
# How often a wait for a window looks whether its program has ended meanwhile.
PROGRAM_POLL_S = 2
# Without a system tray on the X display, Wine's explorer shows its own tray window and
# holds every notification-area icon in a child window of this class.
TRAY_ICON_CLASS = "__winex11_tray_icon"


@dataclass
class Window:
    handle: str
    parent: str
    pid: int
    image: str
    class_name: str
    visible: bool
    rect: tuple
    text: str

    @property
    def size(self):
        return (self.rect[2] - self.rect[0], self.rect[3] - self.rect[1])


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "r": "\r", "n": "\n"}.get(m.group(1), m.group(1)), text)


def parse_window(line):
    fields = line.split("\t")
    if len(fields) != 11:
        raise HarnessError(f"unexpected driver line: {line!r}")
    handle, parent, pid, image, class_name, visible, left, top, right, bottom, text = fields
    return Window(handle, parent, int(pid), unescape(image), unescape(class_name), visible == "1",
                  (int(left), int(top), int(right), int(bottom)), unescape(text))


def window_filter(class_name, title, visible, width=None):
    """The driver's options that pick windows by class, title, width and visibility."""
    args = []
    if class_name is not None:
        args += ["--class", class_name]
    if title is not None:
        args += ["--title", title]
    if width is not None:
        args += ["--width", str(width)]
    if visible:
        args.append("--visible")
    return args


class Watch:
    """A driver that watched for a window before the action that shows it (see `watch`)."""

    def __init__(self, process, output, timeout):
        self.process, self.output, self.timeout = process, output, timeout

    def _lines(self):
        return self.output.read_bytes().decode("utf-8", "replace").split("\n")

    def watching(self):
        return self._lines()[0] == "watching"

    def running(self):
        return self.process.poll() is None

    def shown(self):
        """The window as it was when it showed; HarnessError when none showed in time."""
        wait_until(lambda: len(self._lines()) > 2 or not self.running(), self.timeout + DRIVER_MARGIN_S)
        lines = self._lines()
        if len(lines) < 3:
            raise HarnessError(f"no window showed within {self.timeout} s (driver: {self.process.poll()})")
        return parse_window(lines[1])

    def lived(self):
        """Seconds from the window's creation, as its program stamped it, until it went;
        HarnessError when it was still there at the end of the watch's time."""
        self.shown()
        try:
            code = self.process.wait(self.timeout + DRIVER_MARGIN_S)
        except subprocess.TimeoutExpired:
            raise HarnessError("the watching driver did not end") from None
        lines = self._lines()
        if code != 0 or len(lines) < 4:
            raise HarnessError(f"the window was still there after {self.timeout} s (driver: {code})")
        return int(lines[2]) / 1000


class DriverCalls:
    """A session's window operations; the session gives `env`, `programs`, `output_file` and
    `screenshot`."""

    def driver(self, *args, timeout=30):
        """The driver's exit code and output."""
        code, output, _ = self._run_driver(args, timeout)
        return code, output

    def _run_driver(self, args, timeout):
        """The driver's exit code, output and what Wine or the driver said on stderr."""
        output = self.output_file("driver")
        errors = output.with_suffix(".err")
        with open(output, "wb") as sink, open(errors, "wb") as said:
            code = subprocess.run([*WINE, setting("PRAVELO_DRIVER"), *args], env=self.env,
                                  stdin=subprocess.DEVNULL, stdout=sink, stderr=said,
                                  timeout=timeout + DRIVER_MARGIN_S, check=False).returncode
        return (code, output.read_bytes().decode("utf-8", "replace"),
                errors.read_bytes().decode("utf-8", "replace"))

    def watch(self, parent_class, class_name, width=None, timeout=30, other_than=None):
        """Starts the driver watching for a window of `class_name` below a top-level window of
        `parent_class` that is made from now on, by a program that runs or one that starts
        later (not by the process `other_than`); returns once it watches. The driver looks
        every 10 ms from inside the prefix, where a list taken from outside needs a program
        start per look, and times the window from the stamp its program put on its creation."""
        output = self.output_file("watch")
        args = ["watch", "--parent-class", parent_class, "--timeout", str(timeout * 1000),
                *window_filter(class_name, None, False, width),
                *(["--other-than", str(other_than)] if other_than is not None else [])]
        with open(output, "wb") as sink:
            process = subprocess.Popen([*WINE, setting("PRAVELO_DRIVER"), *args], env=self.env,
                                       stdin=subprocess.DEVNULL, stdout=sink, stderr=subprocess.DEVNULL)
        watch = Watch(process, output, timeout)
        self.programs.append(watch)
        wait_until(lambda: watch.watching() or not watch.running(), DRIVER_MARGIN_S)
        if not watch.watching():
            raise HarnessError(f"the driver could not watch for {class_name} windows")
        return watch

    def _driver_lines(self, *args, timeout=30):
        code, output, said = self._run_driver(args, timeout)
        if code != 0:
            # Wine's own failures (a server it cannot reach) end with 1 too, as "not found" does.
            last = " | ".join(said.strip().splitlines()[-3:])
            raise HarnessError(f"driver {' '.join(args)} ended with {code}" + (f": {last}" if last else ""))
        return [line for line in output.split("\n") if line]

    def windows(self, children=False):
        args = ["list", "--children"] if children else ["list"]
        return [parse_window(line) for line in self._driver_lines(*args)]

    def children(self, window):
        """Every window below `window`, grandchildren included."""
        found, below = [], {window.handle}
        for candidate in self.windows(children=True):
            if candidate.parent in below:
                found.append(candidate)
                below.add(candidate.handle)
        return found

    def wait_window(self, class_name=None, title=None, timeout=30, visible=True, program=None):
        """The first top-level window that matches; with `program`, gives up as soon as that
        program has ended."""
        args = ["wait", *window_filter(class_name, title, visible)]
        deadline = time.monotonic() + timeout
        while True:
            left = max(deadline - time.monotonic(), 0)
            chunk = min(left, PROGRAM_POLL_S) if program else left
            code, output = self.driver(*args, "--timeout", str(int(chunk * 1000)), timeout=chunk)
            if code == 0:
                return parse_window(output.strip("\n"))
            ended = program is not None and not program.running()
            if ended or time.monotonic() >= deadline:
                break
        self.screenshot("wait-timeout")
        seen = "\n".join(f"  {w.class_name!r} {w.text!r} visible={w.visible}" for w in self.windows())
        why = f"the program ended with {program.process.returncode}" if ended else f"none within {timeout} s"
        raise HarnessError(f"no window class={class_name!r} title={title!r}: {why}; windows:\n{seen}")

    def wait_child(self, parent, class_name=None, title=None, timeout=10, visible=True, width=None):
        """The first window below `parent` that matches, or None when none came in time."""
        args = ["wait", "--parent", parent.handle, "--timeout", str(int(timeout * 1000)),
                *window_filter(class_name, title, visible, width)]
        code, output = self.driver(*args, timeout=timeout)
        return parse_window(output.strip("\n")) if code == 0 else None

    def check_state(self, window):
        """(check mark, enabled): the mark is 0 unchecked, 1 checked, 2 grayed."""
        mark, enabled = self._driver_lines("state", "--window", window.handle)[0].split("\t")
        return int(mark), enabled == "1"

    def set_text(self, window, text):
        """Replaces the text of an edit box as typing would."""
        code, _ = self.driver("settext", "--window", window.handle, text)
        if code != 0:
            raise HarnessError(f"could not set the text of {window.handle} (driver: {code})")

    def click(self, window, caption, timeout=10):
        code, _ = self.driver("click", "--window", window.handle, "--caption", caption,
                              "--timeout", str(int(timeout * 1000)), timeout=timeout)
        if code != 0:
            raise HarnessError(f"could not click {caption!r} in {window.text!r} (driver: {code})")

    def move_window(self, window, x, y):
        """Moves a top-level window's top-left corner to (x, y) on the screen."""
        if self.driver("move", "--window", window.handle, str(x), str(y))[0] != 0:
            raise HarnessError(f"could not move window {window.handle}")

    def close_window(self, window):
        if self.driver("close", "--window", window.handle)[0] != 0:
            raise HarnessError(f"no window {window.handle} to close")

    def press_key(self, window, key, alt=False):
        args = ["key", "--window", window.handle] + (["--alt"] if alt else []) + [key]
        if self.driver(*args)[0] != 0:
            raise HarnessError(f"could not send {key} to {window.handle}")

    def press_ok(self, title, timeout=30):
        """Presses OK in the message box with this title; the box's text."""
        code, output = self.driver("ok", "--title", title, "--timeout", str(int(timeout * 1000)),
                                   timeout=timeout)
        if code != 0:
            self.screenshot("no-message-box")
            raise HarnessError(f"no message box {title!r} within {timeout} s")
        return unescape(output.rstrip("\n"))

    def click_at(self, x, y):
        """A left click of the mouse at a point of the screen."""
        if run_quietly(["xdotool", "mousemove", str(x), str(y), "click", "1"], self.env, 30) != 0:
            raise HarnessError(f"could not click at ({x}, {y})")

    def text(self, window):
        return unescape("".join(self._driver_lines("text", "--window", window.handle)))

    def tray_icons(self):
        """The visible notification-area icons of every program in this prefix."""
        return [w for w in self.windows(children=True) if w.class_name == TRAY_ICON_CLASS and w.visible]

    def client_rect(self, window):
        """The window's client area in screen coordinates (left, top, right, bottom)."""
        return tuple(int(v) for v in self._driver_lines("client", "--window", window.handle)[0].split("\t"))

    def wait_gone(self, window, timeout=30):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if all(w.handle != window.handle for w in self.windows()):
                return
            time.sleep(0.2)
        raise HarnessError(f"window {window.text!r} still there after {timeout} s")

"""End-to-end harness: Windows programs of the build run under Wine and Xvfb, each test in a
private prefix copied from a template that is booted once per ctest run.

Everything a test starts is stopped again by process id or by that prefix's own wineserver,
also when the test fails or runs out of time, and every wait is bounded.

Run as a script for the ctest fixture: `harness.py template-create` and
`harness.py template-destroy` (the latter also sweeps up what killed tests left behind).
"""

import hashlib
import importlib.util
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from dataclasses import dataclass
from pathlib import Path

# The width of the programs under test: a 64-bit build runs in a 64-bit prefix through Wine's
# 64-bit loader, which works also on hosts that cannot execute 32-bit programs.
WINE_ARCH = os.environ.get("PRAVELO_WINEARCH", "win32")
WINE = "/usr/lib/wine/wine64" if WINE_ARCH == "win64" else "wine"
WINE_ENVIRONMENT = {
    "WINEARCH": WINE_ARCH,
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
}
if WINE_ARCH == "win64":
    WINE_ENVIRONMENT["WINELOADER"] = WINE
# The server stays up between the many short programs of a test; if a test was killed before
# it could stop it, it still goes by itself a minute after its last program (the desktop
# holder below ends DESKTOP_HOLD_S after the session began).
SERVER_PERSISTENCE_S = 60
# Wine closes a desktop one second after its last program ended, and a program that starts
# while its desktop process is closing gets no windows (CreateWindowEx gives null, timers never
# tick) or a desktop of its own that the driver does not see. A console program started first
# stays on the desktop for the session, this long at most.
DESKTOP_HOLD_S = 600
# Wine waits this long for a new desktop process before a program's windows fail.
DESKTOP_WAIT_S = 10
# How often a Wine step that failed in Wine itself (not in the program it ran) is tried.
WINE_STEP_TRIES = 3
SERVER_STOP_TIMEOUT_S = 20
DRIVER_MARGIN_S = 30
XVFB_START_TIMEOUT_S = 10
PROGRAM_FOLDER = "C:\\Pravelo"
# How often a wait for a window looks whether its program has ended meanwhile.
PROGRAM_POLL_S = 2
# Without a system tray on the X display, Wine's explorer shows its own tray window and
# holds every notification-area icon in a child window of this class.
TRAY_ICON_CLASS = "__winex11_tray_icon"


# Caps the deep pass of every program a test starts (tests may set a smaller cap).
DEEP_FILL_LIMIT_VARIABLE = "PRAVELO_DEEP_FILL_LIMIT_MB"
DEFAULT_DEEP_FILL_LIMIT_MB = "64"


class HarnessError(Exception):
    """A wait ran out or a Wine step failed."""


class DeadlineExceeded(Exception):
    """The test file ran past the time it was given."""


def note(kind, what, reason):
    """A step that was retried or a test that was skipped, for the test command's summary
    (the file PRAVELO_TEST_NOTES names) and this test's own output."""
    print(f"note: {kind} {what}: {reason}", file=sys.stderr, flush=True)
    notes = os.environ.get("PRAVELO_TEST_NOTES")
    if notes:
        with open(notes, "a", encoding="utf-8") as sink:
            sink.write(f"{kind}\t{what}\t{reason}\n")


def setting(name):
    value = os.environ.get(name)
    if not value:
        raise HarnessError(f"{name} is not set; the e2e tests run through ctest")
    return value


def wine_environment(prefix, display=None):
    env = dict(os.environ)
    env.update(WINE_ENVIRONMENT)
    env["WINEPREFIX"] = str(prefix)
    env.pop("DISPLAY", None)
    if display:
        env["DISPLAY"] = display
    return env


def run_quietly(command, env, timeout):
    """Runs a helper with no pipes a Wine background process could keep open."""
    return subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=timeout, check=False).returncode


def wait_until(probe, timeout, interval=0.2):
    """Calls `probe` until it gives a true value or `timeout` s have passed; its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def wine_step(what, attempt):
    """Runs `attempt` until it succeeds, at most WINE_STEP_TRIES times; each try but the last
    that failed is noted with its reason. `attempt` gives (succeeded, result, reason); the
    result of the last try is returned. Only for Wine's own steps, never for a test's check."""
    for number in range(1, WINE_STEP_TRIES + 1):
        succeeded, result, reason = attempt()
        if succeeded or number == WINE_STEP_TRIES:
            return result
        note("retried", what, f"{reason} (try {number} of {WINE_STEP_TRIES})")


def wine_reg(env, args, output, what):
    """`wine reg ARGS...`: its exit code and output (kept in the file `output`). Tried again
    when Wine itself failed: reg.exe ended without a word of its own ("reg: ...")."""
    def attempt():
        with open(output, "wb") as sink:
            code = subprocess.run([WINE, "reg", *args], env=env, stdin=subprocess.DEVNULL, stdout=sink,
                                  stderr=subprocess.STDOUT, timeout=60, check=False).returncode
        text = Path(output).read_bytes().decode("utf-8", "replace")
        wine_failed = code != 0 and "reg: " not in text
        return not wine_failed, (code, text), f"wine reg ended with {code}, saying {text.strip()[:200]!r}"
    return wine_step(what, attempt)


# --- prefixes ------------------------------------------------------------------------------

def create_prefix(prefix):
    """Boots a fresh 32-bit prefix (about 7 to 12 s) and waits for its server to end."""
    env = wine_environment(prefix)
    Path(prefix).parent.mkdir(parents=True, exist_ok=True)
    if run_quietly([WINE, "wineboot", "-i"], env, 180) != 0:
        raise HarnessError(f"wineboot failed for {prefix}")
    # A crashing program must not open a dialog that hangs the test until its time-out.
    code, text = wine_reg(env, ["add", "HKCU\\Software\\Wine\\WineDbg", "/v", "ShowCrashDialog", "/t", "REG_DWORD",
                                "/d", "0", "/f"], Path(prefix).parent / "reg.out", f"boot of {Path(prefix).name}")
    if code != 0:
        raise HarnessError(f"could not turn off the crash dialog in {prefix}: {text.strip()}")
    # The registry reaches the disk only when the server ends, and copies are made from it.
    run_quietly(["wineserver", "-w"], env, 60)
    if not (Path(prefix) / "system.reg").is_file():
        raise HarnessError(f"no registry in {prefix}")


def copy_prefix(template, prefix):
    shutil.copytree(template, prefix, symlinks=True)
    # Names the socket folder of the template's server; the copy gets a server of its own.
    (Path(prefix) / "wineserver").unlink(missing_ok=True)


def server_folder(prefix):
    """The socket folder of the prefix's server: Debian's Wine names a folder of its own in the
    prefix's `wineserver` file, <tmp>/wine-XXXXXX/server-<device>-<inode> (upstream's
    /tmp/.wine-<uid>/server-<device>-<inode> without that file). Valid only while the prefix
    exists: a folder made after its removal may get its inode again."""
    prefix = Path(prefix)
    info = prefix.stat()
    socket_name = f"server-{info.st_dev:x}-{info.st_ino:x}"
    try:
        name = (prefix / "wineserver").read_text().strip()
    except OSError:
        name = ""
    if re.fullmatch(r"wine-[A-Za-z0-9]+", name):
        return Path(tempfile.gettempdir()) / name / socket_name
    return Path(f"/tmp/.wine-{os.getuid()}") / socket_name


def destroy_prefix(prefix):
    """Stops the prefix's server and every process of it, then removes the server's socket
    folder and the prefix, in this order: the folder is named while the prefix still holds its
    inode, so it is never that of a prefix made meanwhile. Touches nothing of any other prefix."""
    prefix = Path(prefix)
    if not prefix.exists():
        return
    folder = server_folder(prefix)
    env = wine_environment(prefix)
    try:
        run_quietly(["wineserver", "-k"], env, SERVER_STOP_TIMEOUT_S)
        run_quietly(["wineserver", "-w"], env, SERVER_STOP_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        pass
    shutil.rmtree(folder, ignore_errors=True)
    if folder.parent.name.startswith("wine-"):
        try:
            folder.parent.rmdir()  # made for this prefix alone; /tmp/.wine-<uid> is shared
        except OSError:
            pass
    shutil.rmtree(prefix, ignore_errors=True)


# --- X display -----------------------------------------------------------------------------

def process_is(pid, name):
    try:
        return Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0")[0].endswith(name.encode())
    except OSError:
        return False


class Xvfb:
    """A private X server on a display it picks itself; stopped by its process id."""

    def __init__(self, pid_file=None):
        read_end, write_end = os.pipe()
        try:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, start_new_session=True)
        finally:
            os.close(write_end)
        try:
            if pid_file:
                Path(pid_file).write_text(str(self.process.pid))
            number = b""
            deadline = time.monotonic() + XVFB_START_TIMEOUT_S
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise HarnessError("Xvfb did not report its display")
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise HarnessError("Xvfb ended before it reported its display")
                number += chunk
            self.display = ":" + number.decode().strip()
        except BaseException:
            self.stop()
            raise
        finally:
            os.close(read_end)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(5)


# --- windows as the driver reports them --------------------------------------------------------

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


@dataclass
class RegistryValue:
    type: str
    data: object  # int for REG_DWORD, text otherwise


def parse_reg_query(output, name):
    for line in output.splitlines():
        match = re.match(r"^ {4}(.*?) {4}(REG_[A-Z_]+)(?: {4}(.*))?$", line.rstrip("\r"))
        if match and match.group(1) == (name or "(Default)"):
            value_type, data = match.group(2), match.group(3) or ""
            return RegistryValue(value_type, int(data, 16) if value_type == "REG_DWORD" else data)
    return None


def parse_reg_values(output):
    """Every value that `reg query <key>` lists directly under the key, by name."""
    values = {}
    for line in output.splitlines():
        match = re.match(r"^ {4}(.*?) {4}(REG_[A-Z_]+)(?: {4}(.*))?$", line.rstrip("\r"))
        if match:
            value_type, data = match.group(2), match.group(3) or ""
            values[match.group(1)] = RegistryValue(value_type, int(data, 16) if value_type == "REG_DWORD" else data)
    return values


# --- the product's own texts -----------------------------------------------------------------

SOURCE_ROOT = Path(__file__).resolve().parents[2]
ENGLISH, KOREAN = "en", "ko"


def _make_strings():
    """The build's own reader of the translation files."""
    spec = importlib.util.spec_from_file_location("make_strings", SOURCE_ROOT / "resources" / "make_strings.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def string_table(language):
    """The texts of resources/lang/<language>.txt, by number."""
    make_strings = _make_strings()
    ids, languages = make_strings.load(SOURCE_ROOT / "resources" / "lang", SOURCE_ROOT / "resources" / "text_ids.h")
    if language not in languages:
        raise HarnessError(f"no {language} texts in resources/lang")
    return {int(ids[name]): text for name, text in languages[language][2].items()}


# --- pixels of a screenshot --------------------------------------------------------------------

class Pixels:
    """An RGB rectangle cut from a screenshot; (0, 0) is its top-left pixel."""

    def __init__(self, path, rect):
        left, top, right, bottom = rect
        self.width, self.height = right - left, bottom - top
        self.data = subprocess.run(
            ["convert", str(path), "-crop", f"{self.width}x{self.height}+{left}+{top}", "+repage",
             "-depth", "8", "rgb:-"], stdin=subprocess.DEVNULL, capture_output=True, timeout=30, check=True).stdout
        if len(self.data) != self.width * self.height * 3:
            raise HarnessError(f"{path} does not hold the rectangle {rect}")

    def at(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset:offset + 3])

    def column(self, x):
        return [self.at(x, y) for y in range(self.height)]


def digest(content):
    """The SHA-256 of bytes or of a file's bytes (None for a missing file): big files compare
    without pages of difference in the failure message."""
    if isinstance(content, (bytes, bytearray)):
        return hashlib.sha256(content).hexdigest()
    path = Path(content)
    return hashlib.sha256(path.read_bytes()).hexdigest() if path.is_file() else None


def wait_for(probe, expected, timeout=10, pause=0.1):
    """Calls `probe` until it gives `expected` or the time is up; the last value it gave.
    For effects of posted clicks and of programs that run beside the test."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value == expected or time.monotonic() >= deadline:
            return value
        time.sleep(pause)


def window_filter(class_name, title, visible):
    """The driver's options that pick windows by class, title and visibility."""
    args = []
    if class_name is not None:
        args += ["--class", class_name]
    if title is not None:
        args += ["--title", title]
    if visible:
        args.append("--visible")
    return args


# --- one test's Wine world -------------------------------------------------------------------

class Program:
    """A started Windows program; its output goes to files, never to pipes."""

    def __init__(self, process, output):
        self.process = process
        self.output = output

    def wait(self, timeout):
        """The exit code; HarnessError when the program still runs after `timeout` s."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError(f"program {self.process.args[1]} still runs after {timeout} s") from None

    def running(self):
        return self.process.poll() is None


class WineSession:
    """A prefix copied from the template, its own Xvfb, and the programs started in it."""

    def __init__(self, name, template=None, work=None, artifacts=None):
        self.name = re.sub(r"[^A-Za-z0-9_.-]+", "_", name)
        work = Path(work or setting("PRAVELO_E2E_WORK"))
        work.mkdir(parents=True, exist_ok=True)
        self.artifacts = Path(artifacts or setting("PRAVELO_ARTIFACTS"))
        self.folder = Path(tempfile.mkdtemp(prefix=self.name[-60:] + "-", dir=work))
        self.prefix = self.folder / "prefix"
        self.programs = []
        self.xvfb = None
        self.holder = None
        self._runs = 0
        try:
            copy_prefix(template or setting("PRAVELO_TEMPLATE"), self.prefix)
            self.xvfb = Xvfb(self.folder / "xvfb.pid")
            self.env = wine_environment(self.prefix, self.xvfb.display)
            # The prefix's server first and alone: two programs that start it at once race for it.
            run_quietly(["wineserver", f"-p{SERVER_PERSISTENCE_S}"], self.env, SERVER_STOP_TIMEOUT_S)
            # Wine's background processes start with the first program and outlive it; they
            # must not inherit the output of a program whose end a test waits for.
            self.holder = subprocess.Popen([WINE, "cmd", "/c", "ping", "-n", str(DESKTOP_HOLD_S), "127.0.0.1"],
                                           env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)
            wine_step(f"{self.name}: the desktop", self._desktop_ready)
        except BaseException:
            self.close()
            raise

    def _desktop_ready(self):
        """Whether the driver found the desktop in time (Wine gives its process DESKTOP_WAIT_S)."""
        begin = time.monotonic()
        code = run_quietly([WINE, setting("PRAVELO_DRIVER"), "list"], self.env, 120)
        took = time.monotonic() - begin
        if code != 0:
            return False, code, f"the driver could not list the windows ({code})"
        return took < DESKTOP_WAIT_S, code, f"Wine's desktop process was not ready after {took:.0f} s"

    # Programs

    def drive_c(self, windows_path):
        """The Unix path of a C:\\ path in this prefix."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return self.prefix / "drive_c" / windows_path[3:].replace("\\", "/")

    def install(self, sources, folder=PROGRAM_FOLDER):
        """Copies files into a folder of the prefix; the Windows path of the first."""
        target = self.drive_c(folder)
        target.mkdir(parents=True, exist_ok=True)
        for source in sources:
            shutil.copy2(source, target / Path(source).name)
        return folder + "\\" + Path(sources[0]).name

    def install_product(self, folder=PROGRAM_FOLDER):
        return self.install([setting("PRAVELO_EXE"), setting("PRAVELO_PICTURE")], folder)

    def _environment(self, env, lang):
        full = dict(self.env)
        # A 64-bit program is not held near 2 GB by its address space: no program a test
        # starts may fill the host, whatever the test asks of it.
        full[DEEP_FILL_LIMIT_VARIABLE] = DEFAULT_DEEP_FILL_LIMIT_MB
        if lang:
            full["LANG"] = lang
            full["LC_ALL"] = lang
        full.update(env or {})
        return full

    def start(self, program, args=(), env=None, lang=None):
        self._runs += 1
        output = self.folder / f"run{self._runs}.out"
        with open(output, "wb") as sink:
            process = subprocess.Popen([WINE, program, *args], env=self._environment(env, lang),
                                       stdin=subprocess.DEVNULL, stdout=sink, stderr=subprocess.STDOUT,
                                       cwd=self.folder)
        started = Program(process, output)
        self.programs.append(started)
        return started

    def run(self, program, args=(), timeout=60, env=None, lang=None):
        """Starts a program and waits for it to end by itself; its exit code."""
        started = self.start(program, args, env, lang)
        try:
            return started.wait(timeout)
        except HarnessError:
            self.screenshot("still-running")
            raise

    # Windows, through the driver

    def driver(self, *args, timeout=30):
        """The driver's exit code and output."""
        self._runs += 1
        output = self.folder / f"driver{self._runs}.out"
        with open(output, "wb") as sink:
            code = subprocess.run([WINE, setting("PRAVELO_DRIVER"), *args], env=self.env,
                                  stdin=subprocess.DEVNULL, stdout=sink, stderr=subprocess.DEVNULL,
                                  timeout=timeout + DRIVER_MARGIN_S, check=False).returncode
        return code, output.read_bytes().decode("utf-8", "replace")

    def _driver_lines(self, *args, timeout=30):
        code, output = self.driver(*args, timeout=timeout)
        if code != 0:
            raise HarnessError(f"driver {' '.join(args)} ended with {code}")
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

    def wait_child(self, parent, class_name=None, title=None, timeout=10, visible=True):
        """The first window below `parent` that matches, or None when none came in time."""
        args = ["wait", "--parent", parent.handle, "--timeout", str(int(timeout * 1000)),
                *window_filter(class_name, title, visible)]
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

    def processes(self):
        """(Unix process id, arguments) of every Wine process of this prefix, programs that
        other programs started included; the arguments as Wine split their command lines."""
        marker = f"WINEPREFIX={self.prefix}".encode()
        found = []
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                if marker in (entry / "environ").read_bytes().split(b"\0"):
                    arguments = (entry / "cmdline").read_bytes().rstrip(b"\0").split(b"\0")
                    found.append((int(entry.name), [a.decode("utf-8", "replace") for a in arguments]))
            except OSError:
                pass
        return found


    def windows_variable(self, name):
        """An environment variable as this prefix's programs see it."""
        self._runs += 1
        output = self.folder / f"cmd{self._runs}.out"
        with open(output, "wb") as sink:
            subprocess.run([WINE, "cmd", "/c", f"echo %{name}%"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=sink, stderr=subprocess.DEVNULL, timeout=60, check=False)
        value = output.read_bytes().decode("utf-8", "replace").strip()
        if not value or value == f"%{name}%":
            raise HarnessError(f"no variable {name} in the prefix")
        return value

    # Registry; `wine reg` asks the running server, the files on disk lag behind it.

    def _reg(self, *args):
        self._runs += 1
        return wine_reg(self.env, args, self.folder / f"reg{self._runs}.out", f"{self.name}: wine reg {args[0]}")

    def reg_query(self, key, name):
        """The value's type and data, or None when the key or the value is missing."""
        code, output = self._reg("query", key, *(["/v", name] if name else ["/ve"]))
        return parse_reg_query(output, name) if code == 0 else None

    def reg_values(self, key):
        """Every value directly under the key, by name; None when the key is missing."""
        code, output = self._reg("query", key)
        return parse_reg_values(output) if code == 0 else None

    def reg_add(self, key, name, value_type, data):
        code, output = self._reg("add", key, "/v", name, "/t", value_type, "/d", str(data), "/f")
        if code != 0:
            raise HarnessError(f"reg add {key}\\{name} failed ({code}): {output.strip()}")

    def skip_window_manager_waits(self):
        """Wine hands top-level windows to the window manager and, when one is hidden, waits
        up to 2 s for a manager that Xvfb does not have. Unmanaged windows close at once;
        for programs started from now on."""
        self.reg_add("HKCU\\Software\\Wine\\X11 Driver", "Managed", "REG_SZ", "N")

    def set_windows_version(self, version):
        """The version Wine reports to programs started from now on (e.g. "win10")."""
        self.reg_add("HKCU\\Software\\Wine", "Version", "REG_SZ", version)

    # Evidence

    def screenshot(self, label):
        """Saves the whole screen as <artifacts>/<test>-<label>.png; its path."""
        self.artifacts.mkdir(parents=True, exist_ok=True)
        path = self.artifacts / f"{self.name}-{label}.png"
        if self.xvfb and run_quietly(["import", "-window", "root", str(path)], self.env, 30) == 0:
            return path
        return None

    # The end

    def close(self):
        destroy_prefix(self.prefix)
        if self.holder and self.holder.poll() is None:
            self.holder.kill()
        if self.holder:
            self.holder.wait(10)
        for program in self.programs:
            if program.running():
                program.process.kill()
            program.process.wait(10)
        if self.xvfb:
            self.xvfb.stop()
        shutil.rmtree(self.folder, ignore_errors=True)


# --- tests -----------------------------------------------------------------------------------

_deadline_passed = False


class E2ETestCase(unittest.TestCase):
    """Each test gets its own session, closed again however the test ends."""

    def setUp(self):
        if _deadline_passed:
            self.fail("the test file ran out of time before this test")
        self.session = WineSession(self.id().split(".", 1)[-1])
        self.addCleanup(self.session.close)


def _on_deadline(signum, frame):
    global _deadline_passed
    if _deadline_passed:
        return
    _deadline_passed = True
    raise DeadlineExceeded("the test ran past its deadline")


def main():
    """Runs the tests of the calling module within PRAVELO_E2E_DEADLINE seconds, so that a
    slow test still fails with its sessions cleaned up before ctest kills the run."""
    deadline = int(os.environ.get("PRAVELO_E2E_DEADLINE", "0"))
    if deadline > 0:
        signal.signal(signal.SIGALRM, _on_deadline)
        signal.alarm(deadline)
    signal.signal(signal.SIGTERM, _on_deadline)
    result = unittest.main(module="__main__", verbosity=2, exit=False).result
    for test, reason in result.skipped:
        note("skipped", test.id().removeprefix("__main__."), reason)
    sys.exit(0 if result.wasSuccessful() else 1)


# --- the ctest fixture -----------------------------------------------------------------------

def create_template():
    template = Path(setting("PRAVELO_TEMPLATE"))
    destroy_prefix(template)
    staging = template.with_name(template.name + ".booting")
    destroy_prefix(staging)
    try:
        create_prefix(staging)
        staging.rename(template)
    except BaseException:
        destroy_prefix(staging)
        raise


def sweep(work):
    """Removes sessions that a killed test could not close itself."""
    for folder in Path(work).glob("*"):
        pid_file = folder / "xvfb.pid"
        destroy_prefix(folder / "prefix")
        if pid_file.is_file():
            pid = int(pid_file.read_text() or 0)
            if pid > 0 and process_is(pid, "Xvfb"):
                os.kill(pid, signal.SIGTERM)
        shutil.rmtree(folder, ignore_errors=True)


def destroy_template():
    work = Path(setting("PRAVELO_E2E_WORK"))
    if work.is_dir():
        sweep(work)
        shutil.rmtree(work, ignore_errors=True)
    template = Path(setting("PRAVELO_TEMPLATE"))
    destroy_prefix(template)
    destroy_prefix(template.with_name(template.name + ".booting"))


if __name__ == "__main__":
    commands = {"template-create": create_template, "template-destroy": destroy_template}
    if len(sys.argv) != 2 or sys.argv[1] not in commands:
        sys.exit(f"usage: {sys.argv[0]} {'|'.join(commands)}")
    commands[sys.argv[1]]()

"""What the end-to-end tests know of pravelo.exe from outside: its windows, captions,
settings and notifications."""

from pathlib import Path

import harness

SETTINGS_KEY = "HKCU\\Software\\zEVID\\PraveloGeneral"
MEMORY_KEY = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management"
RUN_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
RUN_VALUE = "Pravelo1"
AREAS_KEY = "HKCU\\Software\\zEVID\\PraveloAreas"
AUTOMATION_KEY = "HKCU\\Software\\zEVID\\PraveloAutomation"
UPDATE_STATE_KEY = "HKCU\\Software\\zEVID\\PraveloUpdate"
INSTALLED_PROGRAM = harness.PROGRAM_FOLDER + "\\pravelo.exe"
MAIN_CLASS = "Pravelo.Form1"
OPTIONS_CLASS = "Pravelo.Form2"
AREAS_CLASS = "Pravelo.Areas"
AUTOMATION_CLASS = "Pravelo.Automation"
# With Windows 7 reported, as Wine does by default, the title carries no version or load.
MAIN_TITLE = "Pravelo"
SIMPLE_CLASS = "Pravelo.Form3"
SIMPLE_TITLE = "Pravelo Simple"
BOX_TITLE = "Pravelo"
# Notifications are buttons of this width inside the main window.
NOTIFICATION_WIDTH = 217
NOTIFICATION_LIFETIME_S = 2
# Where Windows keeps a minimized window.
MINIMIZED_ORIGIN = (-32000, -32000)
# The deep pass under test takes this much at most, never the machine's memory.
DEEP_FILL_LIMIT_VARIABLE = harness.DEEP_FILL_LIMIT_VARIABLE
DEEP_FILL_LIMIT = {DEEP_FILL_LIMIT_VARIABLE: harness.DEFAULT_DEEP_FILL_LIMIT_MB}
MEGABYTE = 1024000  # the unit of the available-memory figures
# The build's version, "1.2.3".
VERSION = harness.setting("PRAVELO_VERSION")


def start_main(session, program=INSTALLED_PROGRAM, args=(), env=None, lang=None):
    """Starts the program and waits for its main window; the program and the window."""
    started = session.start(program, args, env=env, lang=lang)
    return started, session.wait_window(MAIN_CLASS, MAIN_TITLE, timeout=60, program=started)


def top_level(session, class_name, pid=None):
    return [w for w in session.windows() if w.class_name == class_name and (pid is None or w.pid == pid)]


def is_minimized(window):
    return window.rect[:2] == MINIMIZED_ORIGIN


def notifications(session, main):
    return [w for w in session.children(main)
            if w.class_name.lower() == "button" and w.visible and w.size[0] == NOTIFICATION_WIDTH]


def watch_notification(session, timeout=30, other_than=None):
    """Watches for the next notification of a main window, also of an instance not started
    yet (not of the instance `other_than`, a process id): seen however briefly it shows."""
    return session.watch(MAIN_CLASS, "Button", NOTIFICATION_WIDTH, timeout, other_than)


def host_available_megabytes():
    """The host's available memory, which Wine reports to programs, in the program's unit."""
    for line in Path("/proc/meminfo").read_text(encoding="ascii").splitlines():
        if line.startswith("MemAvailable:"):
            return int(line.split()[1]) * 1024 / MEGABYTE
    raise harness.HarnessError("no MemAvailable in /proc/meminfo")


class ProductTestCase(harness.E2ETestCase):
    """A session with the program installed in its usual folder."""

    # Long enough for a program that was about to end to have ended.
    STILL_RUNNING_S = 1

    def setUp(self):
        super().setUp()
        self.program = self.session.install_product()

    def set_setting(self, name, text):
        self.session.reg_add(SETTINGS_KEY, name, "REG_SZ", text)

    def visible(self, class_name, pid):
        return any(w.visible for w in top_level(self.session, class_name, pid))

    def assertInTray(self, started, pid):
        """The program goes on running with its icon in the tray and no window shown."""
        self.assertTrue(harness.wait_until(self.session.tray_icons, 10), "no tray icon")
        with self.assertRaises(harness.HarnessError):
            started.wait(self.STILL_RUNNING_S)
        self.assertFalse(self.visible(MAIN_CLASS, pid))
        self.assertFalse(self.visible(SIMPLE_CLASS, pid))

    def assertEnded(self, started, pid):
        """The program ended with exit code 0 and took its windows and tray icon along."""
        self.assertEqual(started.wait(60), 0)
        self.assertEqual([w for w in self.session.windows() if w.pid == pid], [])
        self.assertTrue(harness.wait_until(lambda: not self.session.tray_icons(), 10), "tray icon left")


class Options:
    """The options window and its controls by caption; the interval box as `interval`."""

    def __init__(self, session, window):
        self.session = session
        self.window = window
        self.controls = {}
        self.interval = None
        for child in session.children(window):
            if child.class_name.lower() == "edit":
                self.interval = child
            else:
                self.controls[child.text] = child

    def captions(self):
        return sorted(self.controls)

    def checked(self, caption):
        return self.session.check_state(self.controls[caption])[0]

    def interval_state(self):
        """The interval box's text and whether it takes input."""
        return self.session.text(self.interval), self.session.check_state(self.interval)[1]

    def click(self, caption):
        self.session.click(self.window, caption)

    def save(self, caption="Save"):
        """Presses Save; the text of the box that answers, once the window has closed."""
        self.click(caption)
        text = self.session.press_ok(BOX_TITLE)
        self.session.wait_gone(self.window)
        return text


def graph_viewport(session, window):
    """The screen rectangle of the viewport: the picture that holds the 500-pixel canvas."""
    below = session.children(window)
    for canvas in below:
        if canvas.class_name == "Pravelo.Picture" and canvas.size[0] == 500:
            return next(c.rect for c in below if c.handle == canvas.parent)
    raise harness.HarnessError("no graph canvas in the main window")


def open_options(session, main, program, caption="Op"):
    """Presses the main window's option button; the options window."""
    session.click(main, caption)
    return Options(session, session.wait_window(OPTIONS_CLASS, timeout=20, program=program))

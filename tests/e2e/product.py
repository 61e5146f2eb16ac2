"""What the end-to-end tests know about the product's windows and where it keeps things."""

import harness

SETTINGS_KEY = "HKCU\\Software\\zEVID\\PraveloGeneral"
MEMORY_KEY = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management"
RUN_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
RUN_VALUE = "Pravelo1"
MAIN_CLASS = "Pravelo.Form1"
OPTIONS_CLASS = "Pravelo.Form2"
BOX_TITLE = "Pravelo"
INSTALLED_PROGRAM = harness.PROGRAM_FOLDER + "\\pravelo.exe"


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


def start_main(session, env=None, lang=None):
    """Starts the installed product; the program and its main window."""
    program = session.start(INSTALLED_PROGRAM, env=env, lang=lang)
    return program, session.wait_window(MAIN_CLASS, timeout=60, program=program)


def open_options(session, main, program, caption="Op"):
    """Presses the main window's option button; the options window."""
    session.click(main, caption)
    return Options(session, session.wait_window(OPTIONS_CLASS, timeout=20, program=program))

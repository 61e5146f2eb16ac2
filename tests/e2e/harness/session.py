"""One test's Wine world: a prefix copied from the template, its own Xvfb, and the programs
started in it. Everything it starts is stopped again by process id or by the prefix's own
server, also when the test fails."""

import re
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

from .common import HarnessError, run_quietly, setting
from .display import Xvfb
from .prefix import SERVER_STOP_TIMEOUT_S, copy_prefix, destroy_prefix
from .registry import RegistryCalls
from .ui import DriverCalls
from .wine import WINE, wine_environment, wine_step

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
PROGRAM_FOLDER = "C:\\Pravelo"
# Caps the deep pass of every program a test starts (tests may set a smaller cap).
DEEP_FILL_LIMIT_VARIABLE = "PRAVELO_DEEP_FILL_LIMIT_MB"
DEFAULT_DEEP_FILL_LIMIT_MB = "64"


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


class WineSession(DriverCalls, RegistryCalls):
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
            self.holder = subprocess.Popen([*WINE, "cmd", "/c", "ping", "-n", str(DESKTOP_HOLD_S), "127.0.0.1"],
                                           env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)
            wine_step(f"{self.name}: the desktop", self._desktop_ready)
        except BaseException:
            self.close()
            raise

    def _desktop_ready(self):
        """Whether the driver found the desktop in time (Wine gives its process DESKTOP_WAIT_S)."""
        begin = time.monotonic()
        code = run_quietly([*WINE, setting("PRAVELO_DRIVER"), "list"], self.env, 120)
        took = time.monotonic() - begin
        if code != 0:
            return False, code, f"the driver could not list the windows ({code})"
        return took < DESKTOP_WAIT_S, code, f"Wine's desktop process was not ready after {took:.0f} s"

    def output_file(self, kind):
        """A fresh file of the session's folder for one program's output."""
        self._runs += 1
        return self.folder / f"{kind}{self._runs}.out"

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
        output = self.output_file("run")
        with open(output, "wb") as sink:
            process = subprocess.Popen([*WINE, program, *args], env=self._environment(env, lang),
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
        output = self.output_file("cmd")
        with open(output, "wb") as sink:
            subprocess.run([*WINE, "cmd", "/c", f"echo %{name}%"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=sink, stderr=subprocess.DEVNULL, timeout=60, check=False)
        value = output.read_bytes().decode("utf-8", "replace").strip()
        if not value or value == f"%{name}%":
            raise HarnessError(f"no variable {name} in the prefix")
        return value

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

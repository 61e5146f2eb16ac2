"""An update server of a test's own on 127.0.0.1, and releases signed for it with
scripts/sign-update.sh."""

import http.server
import subprocess
import tempfile
import threading
import time
from pathlib import Path

import harness
import product
from harness import wait_for

ROOT = Path(__file__).resolve().parents[2]
SIGN = ROOT / "scripts" / "sign-update.sh"
TEST_KEY = ROOT / "tests" / "keys" / "update-test.pem"
SERVER_STOP_TIMEOUT_S = 5
# How long a misbehaving answer goes on at most: past the program's minute, never for ever.
MISBEHAVE_S = 75
NOT_FOUND = (404, b"<html><body>404 Not Found</body></html>")
UP_TO_DATE = "This program is up to date."
FAILED = "Update failed."
TEMP_PROGRAM_NAME = "Pravelo_tmp.exe"
PROBE_REPORT = "C:\\update_probe.txt"
# The version above the build's own.
_MAJOR, _MINOR, _REVISION = (int(part) for part in product.VERSION.split("."))
NEWER = "%d.%d.%d" % (_MAJOR, _MINOR, _REVISION + 1)
# Where Wine's elevated program keeps the update's folders (Wine runs programs elevated).
UPDATE_PLACE = "C:\\ProgramData"
# Where the update remembers the highest version it saw signed.


def signed_release(version, url, program, key=TEST_KEY, expires=None):
    """The version file and signature that sign-update.sh makes for `program` (bytes); it
    expires when `expires` says (date -d), in 30 days otherwise."""
    with tempfile.TemporaryDirectory() as work:
        exe = Path(work) / "program.exe"
        exe.write_bytes(program)
        out = Path(work) / "out"
        options = ["--expires", expires] if expires else []
        subprocess.run([str(SIGN), *options, str(key), version, url, str(exe), str(out)], check=True,
                       stdout=subprocess.DEVNULL, timeout=30)
        return (out / "version.txt").read_bytes(), (out / "version.txt.sig").read_bytes()


def new_key(folder):
    """A P-256 key of the test's own, which no program trusts."""
    key = Path(folder) / "other.pem"
    subprocess.run(["openssl", "ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", str(key)],
                   check=True, timeout=30)
    return key


class UpdateServer:
    """Answers GET requests from a table of path -> (status, body) or path -> a callable that
    answers itself; every other path is a 404 page. Remembers the paths asked for."""

    def __init__(self):
        self.routes = {}
        self.requested = []
        self.stopping = threading.Event()
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                owner.requested.append(self.path)
                route = owner.routes.get(self.path, NOT_FOUND)
                if callable(route):
                    try:
                        route(self)
                    except OSError:
                        pass  # the program gave up on the answer, as it should
                    return
                status, body = route
                self.send_response(status)
                self.send_header("Content-Type", "application/octet-stream")
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Connection", "close")
                self.end_headers()
                self.wfile.write(body)

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    @property
    def host(self):
        return "127.0.0.1:%d" % self.server.server_address[1]

    def url(self, path):
        return "http://%s%s" % (self.host, path)

    def publish(self, version_text, signature):
        self.routes["/version.txt"] = (200, version_text)
        self.routes["/version.txt.sig"] = (200, signature)

    def release(self, version, path, program, key=TEST_KEY):
        """Serves `program` at `path` and a version file for it signed by `key`."""
        self.routes[path] = (200, program)
        self.publish(*signed_release(version, self.url(path), program, key))

    # Answers that never end well, each bounded in time.

    def trickle(self, handler):
        """Announces a small body and sends it one byte a second."""
        handler.send_response(200)
        handler.send_header("Content-Length", "1000")
        handler.end_headers()
        self._drip(handler, 1.0)

    def redirect_loop(self, handler):
        handler.send_response(302)
        handler.send_header("Location", self.url(handler.path))
        handler.send_header("Content-Length", "0")
        handler.end_headers()

    def endless(self, handler):
        """200 MB without a length: the program must stop reading on its own."""
        handler.send_response(200)
        handler.send_header("Connection", "close")
        handler.end_headers()
        block = b"MZ" + b"\0" * (1024 * 1024 - 2)
        for _ in range(200):
            if self.stopping.is_set():
                return
            handler.wfile.write(block)

    def _drip(self, handler, pause):
        deadline = time.monotonic() + MISBEHAVE_S
        while time.monotonic() < deadline and not self.stopping.is_set():
            handler.wfile.write(b"1")
            handler.wfile.flush()
            time.sleep(pause)

    def stop(self):
        self.stopping.set()
        if self.thread.is_alive():
            self.server.shutdown()
            self.thread.join(SERVER_STOP_TIMEOUT_S)
        self.server.server_close()


class UpdateCase(harness.E2ETestCase):
    """The installed program, a server of the test's own and the probe program to serve."""

    def setUp(self):
        super().setUp()
        self.session.install_product()
        self.session.skip_window_manager_waits()
        self.server = UpdateServer()
        self.addCleanup(self.server.stop)
        self.probe = Path(harness.setting("PRAVELO_UPDATE_PROBE")).read_bytes()
        self.temp = self.session.windows_variable("temp")
        self.temp_program = self.session.drive_c(self.temp + "\\" + TEMP_PROGRAM_NAME)
        self.temp_program_path = self.temp + "\\" + TEMP_PROGRAM_NAME

    def update_folders(self):
        """The update's own folders, whatever they hold."""
        return sorted(self.session.drive_c(UPDATE_PLACE).glob("Pravelo-*"))

    def open_options(self):
        self.program, self.main = product.start_main(self.session, env={"PRAVELO_UPDATE_HOST": self.server.host})
        return product.open_options(self.session, self.main, self.program)

    def update_answers_up_to_date(self, options):
        options.click("Update")
        return self.session.press_ok(product.BOX_TITLE)

    def wait_failure_notice(self, timeout):
        notice = self.session.wait_child(self.main, "Button", FAILED, timeout=timeout)
        self.assertIsNotNone(notice, "no failure notice")
        self.assertTrue(self.program.running())

    def disabled_buttons(self, options):
        """The captions of the options window's controls that take no input now."""
        return {caption for caption, control in options.controls.items()
                if not self.session.check_state(control)[1]}

    def click_update(self, options):
        """Presses Update once the notices of an earlier check, which last two seconds, are
        gone, so that only this check's notice can answer."""
        def notices():
            return sum(1 for c in self.session.children(self.main) if c.text == FAILED and c.visible)
        self.assertEqual(wait_for(notices, 0, timeout=10, pause=0.3), 0, "an old notice stays")
        options.click("Update")

    def update_fails(self, options):
        """Presses Update and expects the failure notice inside the main window, and the
        button to work again."""
        self.click_update(options)
        self.wait_failure_notice(40)
        self.assertFalse(wait_for(lambda: "Update" in self.disabled_buttons(options), False, timeout=10),
                         "the button stayed disabled")

    def probe_report(self):
        report = self.session.drive_c(PROBE_REPORT)
        self.assertTrue(wait_for(report.is_file, True, timeout=30), "the new program did not start")
        return dict(line.split("=", 1) for line in report.read_text().splitlines())

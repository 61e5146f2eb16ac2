"""The Update button against an update server of the test's own on 127.0.0.1, and the "/q"
hand-over that replaces the installed program."""

import hashlib
import http.server
import shutil
import threading
from pathlib import Path

import harness
import product
from harness import digest, wait_for
from product import INSTALLED_PROGRAM, SETTINGS_KEY

UP_TO_DATE = "This program is up to date."
FAILED = "Update failed."
TEMP_PROGRAM_NAME = "Pravelo_tmp.exe"
PROBE_REPORT = "C:\\update_probe.txt"
# The installed program's path without its extension, quoted, as the update passes it on.
HAND_OVER_ARGUMENTS = '/q "C:\\Pravelo\\pravelo"'
OLD_DOWNLOAD = b"MZ left by an earlier download"
SERVER_STOP_TIMEOUT_S = 5


class UpdateServer:
    """Answers GET requests on 127.0.0.1 from a table of path -> (status, body) that the test
    changes as it goes; every other path is a 404 page. Remembers the paths asked for."""

    def __init__(self):
        self.routes = {}
        self.requested = []
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                owner.requested.append(self.path)
                status, body = owner.routes.get(self.path, (404, b"<html><body>404 Not Found</body></html>"))
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

    def version_file(self, text):
        self.routes["/version.txt"] = (200, text.encode())

    def stop(self):
        if self.thread.is_alive():
            self.server.shutdown()
            self.thread.join(SERVER_STOP_TIMEOUT_S)
        self.server.server_close()


class UpdateTest(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        self.session.install_product()
        self.session.skip_window_manager_waits()
        self.server = UpdateServer()
        self.addCleanup(self.server.stop)
        self.probe = Path(harness.setting("PRAVELO_UPDATE_PROBE")).read_bytes()
        self.server.routes["/probe.exe"] = (200, self.probe)
        temp = self.session.windows_variable("temp")
        self.temp_program = self.session.drive_c(temp + "\\" + TEMP_PROGRAM_NAME)
        self.version_copy = self.session.drive_c(temp + "\\pravelo.versiontxt")
        self.temp_program_path = temp + "\\" + TEMP_PROGRAM_NAME

    def open_options(self):
        self.program, self.main = product.start_main(self.session, env={"PRAVELO_UPDATE_HOST": self.server.host})
        return product.open_options(self.session, self.main, self.program)

    def update_answers_up_to_date(self, options):
        options.click("Update")
        return self.session.press_ok(product.BOX_TITLE)

    def update_fails(self, options):
        """Presses Update and expects the failure notice inside the main window."""
        options.click("Update")
        notice = self.session.wait_child(self.main, "Button", FAILED, timeout=40)
        self.assertIsNotNone(notice, "no failure notice")
        self.assertTrue(self.program.running())

    def probe_report(self):
        report = self.session.drive_c(PROBE_REPORT)
        self.assertTrue(wait_for(report.is_file, True, timeout=30), "the new program did not start")
        return dict(line.split("=", 1) for line in report.read_text().splitlines())

    def wait_main_window_of(self, image):
        def shown():
            return any(w.class_name == product.MAIN_CLASS and w.image == image and w.visible
                       for w in self.session.windows())
        self.assertTrue(wait_for(shown, True, timeout=60, pause=0.5), "no main window of " + image)

    def assert_handed_over(self):
        self.assertEqual(self.program.wait(30), 0)
        report = self.probe_report()
        self.assertEqual(report["module"], self.temp_program_path)
        self.assertEqual(report["command_line"], '"%s" %s' % (self.temp_program_path, HAND_OVER_ARGUMENTS))
        self.assertEqual(digest(self.temp_program), digest(self.probe))

    def test_nothing_newer_is_up_to_date_and_a_check_that_cannot_finish_says_it_failed(self):
        self.server.version_file("%s\r\n%s\r\n" % (product.VERSION_NUMBER, self.server.url("/probe.exe")))
        options = self.open_options()
        self.assertEqual(self.update_answers_up_to_date(options), UP_TO_DATE)
        self.assertEqual(self.version_copy.read_bytes(), self.server.routes["/version.txt"][1])

        # A page where the version file should be reads as version 0.
        self.server.version_file("<html><body>Moved to our new site!</body></html>\r\n")
        self.assertEqual(self.update_answers_up_to_date(options), UP_TO_DATE)
        self.assertNotIn("/probe.exe", self.server.requested)

        # An error status is no version file, and leaves the last one alone.
        del self.server.routes["/version.txt"]
        self.update_fails(options)
        self.assertEqual(self.version_copy.read_bytes(), b"<html><body>Moved to our new site!</body></html>\r\n")

        self.server.stop()
        self.update_fails(options)
        self.assertFalse(self.temp_program.exists())

    def test_refused_downloads_leave_the_old_file_and_a_matching_checksum_hands_over(self):
        self.temp_program.parent.mkdir(parents=True, exist_ok=True)
        self.temp_program.write_bytes(OLD_DOWNLOAD)
        self.server.routes["/text.exe"] = (200, b"This is not a program.\r\n")
        digest = hashlib.sha256(self.probe).hexdigest()
        wrong = hashlib.sha256(self.probe + b"\0").hexdigest()
        options = None
        for address, checksum in (("/missing.exe", ""), ("/text.exe", ""), ("/probe.exe", wrong)):
            self.server.version_file("1.43\r\n%s\r\n%s\r\n" % (self.server.url(address), checksum))
            options = options or self.open_options()
            self.update_fails(options)
            self.assertIn(address, self.server.requested)
            self.assertEqual(self.temp_program.read_bytes(), OLD_DOWNLOAD, address)

        self.server.version_file("1.43\r\n%s\r\n%s\r\n" % (self.server.url("/probe.exe"), digest.upper()))
        options.click("Update")
        self.assert_handed_over()
        self.assertEqual(self.version_copy.read_bytes(), self.server.routes["/version.txt"][1])

    def test_a_two_item_version_file_hands_over_even_when_closing_would_go_to_the_tray(self):
        self.session.reg_add(SETTINGS_KEY, "MinAtClose", "REG_SZ", "1")
        self.server.version_file('"1.43","%s"' % self.server.url("/probe.exe"))
        options = self.open_options()
        options.click("Update")
        self.assert_handed_over()

    def test_q_from_a_temporary_copy_replaces_the_installed_program_and_starts_it(self):
        installed = self.session.drive_c(INSTALLED_PROGRAM)
        new_version = installed.read_bytes()
        installed.write_bytes(self.probe)  # the "old version" to replace
        self.temp_program.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(harness.setting("PRAVELO_EXE"), self.temp_program)

        copy = self.session.start(self.temp_program_path, ["/q", "C:\\Pravelo\\pravelo"])
        self.assertEqual(copy.wait(30), 0)
        self.wait_main_window_of("pravelo.exe")
        self.assertEqual(digest(installed), digest(new_version))
        self.assertFalse(self.session.drive_c(PROBE_REPORT).exists())

    def test_q_waits_for_the_program_it_replaces_to_end(self):
        # The update starts the new copy just before the old program ends, and the file of a
        # running program cannot be overwritten.
        installed = self.session.drive_c(INSTALLED_PROGRAM)
        new_version = installed.read_bytes()
        installed.write_bytes(new_version + b"old version")
        old_program, old_main = product.start_main(self.session)
        self.temp_program.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(harness.setting("PRAVELO_EXE"), self.temp_program)

        copy = self.session.start(self.temp_program_path, ["/q", "C:\\Pravelo\\pravelo"])
        wait_for(lambda: copy.running(), False, timeout=3)
        self.session.close_window(old_main)
        self.assertEqual(old_program.wait(30), 0)
        self.assertEqual(copy.wait(30), 0)
        self.wait_main_window_of("pravelo.exe")
        self.assertEqual(digest(installed), digest(new_version))

    def test_the_whole_update_replaces_the_installed_program_with_the_served_one(self):
        installed = self.session.drive_c(INSTALLED_PROGRAM)
        served = installed.read_bytes()
        # Bytes after the image do not change how it runs; they tell the old file apart.
        installed.write_bytes(served + b"old version")
        self.server.routes["/pravelo.exe"] = (200, served)
        self.server.version_file("1.43\r\n%s\r\n%s\r\n" % (self.server.url("/pravelo.exe"),
                                                            hashlib.sha256(served).hexdigest()))
        options = self.open_options()
        options.click("Update")
        self.assertEqual(self.program.wait(30), 0)
        self.wait_main_window_of("pravelo.exe")
        self.assertEqual(digest(installed), digest(served))
        self.session.screenshot("after-update")


if __name__ == "__main__":
    harness.main()

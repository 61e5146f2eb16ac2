"""The Update button against an update server of the test's own on 127.0.0.1, and the "/q"
hand-over that replaces the installed program."""

import re

import harness
import product
from harness import digest, wait_for
from product import INSTALLED_PROGRAM, SETTINGS_KEY, UPDATE_STATE_KEY
from update_server import (NEWER, PROBE_REPORT, TEMP_PROGRAM_NAME, UP_TO_DATE, UPDATE_PLACE,
                           UpdateCase)

# The installed program's path without its extension, quoted, as the update passes it on,
# then the digest of the program it starts.
HAND_OVER_TARGET = '"C:\\Pravelo\\pravelo"'


class UpdateTest(UpdateCase):
    def wait_main_window_of(self, image):
        def shown():
            return any(w.class_name == product.MAIN_CLASS and w.image == image and w.visible
                       for w in self.session.windows())
        self.assertTrue(wait_for(shown, True, timeout=60, pause=0.5), "no main window of " + image)

    def assert_handed_over(self):
        """The old program ended and the probe ran from a folder of its own where only
        administrators write, held there until it started, with the hand-over command line."""
        self.assertEqual(self.program.wait(30), 0)
        report = self.probe_report()
        module = report["module"]
        self.assertRegex(module, "^" + re.escape(UPDATE_PLACE + "\\") + r"Pravelo-[^\\]+\\" + TEMP_PROGRAM_NAME + "$")
        self.assertEqual(report["command_line"], '"%s" /q %s %s' % (module, HAND_OVER_TARGET, digest(self.probe)))
        self.assertEqual(digest(self.session.drive_c(module)), digest(self.probe))

    def start_copy(self, program, expected_digest):
        """Runs `program` (bytes) from the temporary folder as the update would: "/q", the
        installed program and the digest the update checked."""
        self.temp_program.parent.mkdir(parents=True, exist_ok=True)
        self.temp_program.write_bytes(program)
        return self.session.start(self.temp_program_path, ["/q", "C:\\Pravelo\\pravelo", expected_digest])

    def test_signed_versions_say_up_to_date_or_hand_over_to_the_matching_program(self):
        self.server.release(product.VERSION, "/probe.exe", self.probe)
        options = self.open_options()
        self.assertEqual(self.update_answers_up_to_date(options), UP_TO_DATE)
        self.assertNotIn("/probe.exe", self.server.requested)
        self.assertEqual(self.update_folders(), [])

        self.server.release(NEWER, "/probe.exe", self.probe)
        options.click("Update")
        self.assert_handed_over()
        self.assertEqual(self.session.reg_query(UPDATE_STATE_KEY, "HighestSignedVersion").data, NEWER)
        # Nothing of the update went through the temporary folder.
        self.assertFalse(self.temp_program.exists())

    def test_a_signed_update_hands_over_even_when_closing_would_go_to_the_tray(self):
        self.session.reg_add(SETTINGS_KEY, "MinAtClose", "REG_SZ", "1")
        self.server.release(NEWER, "/probe.exe", self.probe)
        options = self.open_options()
        options.click("Update")
        self.assert_handed_over()

    def test_q_from_a_temporary_copy_replaces_the_installed_program_and_starts_it(self):
        installed = self.session.drive_c(INSTALLED_PROGRAM)
        new_version = installed.read_bytes()
        installed.write_bytes(self.probe)  # the "old version" to replace
        copy = self.start_copy(new_version, digest(new_version))
        self.assertEqual(copy.wait(30), 0)
        self.wait_main_window_of("pravelo.exe")
        self.assertEqual(digest(installed), digest(new_version))
        self.assertFalse(self.session.drive_c(PROBE_REPORT).exists())

    def test_q_given_a_swapped_source_starts_nothing_and_keeps_the_installed_program(self):
        # Another program of the user put its own file where the checked one was: it runs as
        # the program (trailing bytes change nothing), but its bytes are not what was checked.
        installed = self.session.drive_c(INSTALLED_PROGRAM)
        old_version = installed.read_bytes()
        checked = old_version + b"checked release"
        for name, given in (("swapped", digest(checked)), ("no digest", None)):
            with self.subTest(name):
                swapped = old_version + b"someone else's"
                self.temp_program.parent.mkdir(parents=True, exist_ok=True)
                self.temp_program.write_bytes(swapped)
                args = ["/q", "C:\\Pravelo\\pravelo"] + ([given] if given else [])
                copy = self.session.start(self.temp_program_path, args)
                self.assertEqual(copy.wait(30), 0)
                self.assertEqual(digest(installed), digest(old_version))

                def started():
                    return any(w.class_name == product.MAIN_CLASS for w in self.session.windows())
                self.assertFalse(wait_for(started, True, timeout=5), "a program was started")

    def test_q_waits_for_the_program_it_replaces_to_end(self):
        # The update starts the new copy just before the old program ends, and the file of a
        # running program cannot be overwritten.
        installed = self.session.drive_c(INSTALLED_PROGRAM)
        new_version = installed.read_bytes()
        installed.write_bytes(new_version + b"old version")
        old_program, old_main = product.start_main(self.session)
        copy = self.start_copy(new_version, digest(new_version))
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
        self.server.release(NEWER, "/pravelo.exe", served)
        options = self.open_options()
        options.click("Update")
        self.assertEqual(self.program.wait(30), 0)
        self.wait_main_window_of("pravelo.exe")
        self.assertEqual(digest(installed), digest(served))
        self.session.screenshot("after-update")


if __name__ == "__main__":
    harness.main()

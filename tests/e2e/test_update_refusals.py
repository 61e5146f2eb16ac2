"""Updates that must not happen: releases that do not verify and servers that misbehave. Each
says "Update failed.", starts nothing and leaves the program running, and a misbehaving server
holds the check for a minute at most while the window goes on drawing."""

import subprocess
import tempfile
import time

import harness
from harness import wait_for
from product import UPDATE_STATE_KEY
from update_server import (NEWER, PROBE_REPORT, TEST_KEY, UpdateCase, new_key,
                           signed_release)

CHECK_LIMIT_S = 60
# The notice is looked for every few tenths of a second, and the click takes a moment to arrive.
NOTICE_SLACK_S = 5
GRAPH_WIDTH = 500
# Off to the side of the main window, so that the graph can be seen in a screenshot.
OPTIONS_AWAY = (760, 560)


def sign_text(text, key):
    """The signature file for arbitrary bytes: r and s of openssl's DER signature, in hex."""
    der = subprocess.run(["openssl", "dgst", "-sha256", "-sign", str(key)], input=text,
                         capture_output=True, check=True, timeout=30).stdout
    at = 2 if der[1] < 0x80 else 3  # past the SEQUENCE header

    def integer(at):
        assert der[at] == 0x02, der.hex()
        length = der[at + 1]
        return int.from_bytes(der[at + 2:at + 2 + length], "big"), at + 2 + length

    r, at = integer(at)
    s, _ = integer(at)
    return (r.to_bytes(32, "big") + s.to_bytes(32, "big")).hex().encode() + b"\n"


class UpdateRefusalTest(UpdateCase):
    def assert_nothing_started(self):
        self.assertFalse(self.session.drive_c(PROBE_REPORT).exists())
        self.assertFalse(self.temp_program.exists())
        # A refused program is not left behind in a folder of its own either.
        self.assertEqual(self.update_folders(), [])

    def graph_pixels(self):
        below = self.session.children(self.main)
        canvas = next(c for c in below if c.class_name == "Pravelo.Picture" and c.size[0] == GRAPH_WIDTH)
        viewport = next(c.rect for c in below if c.handle == canvas.parent)
        return harness.digest(harness.Pixels(self.session.screenshot("graph-during-check"), viewport).data)

    def test_releases_that_do_not_verify_start_nothing(self):
        digest = harness.digest(self.probe)
        with tempfile.TemporaryDirectory() as keys:
            other = new_key(keys)
            good_text, good_signature = signed_release(NEWER, self.server.url("/probe.exe"), self.probe)
            url = self.server.url("/probe.exe").encode()
            valid = good_text.split(b"\r\n")[3]
            no_digest = b",".join([NEWER.encode(), url, b"", valid])
            wrong_digest = good_text.replace(digest.encode(), harness.digest(self.probe + b"!").encode())
            # What a signed file held before it carried an expiry, and a signed web page.
            no_expiry = b"\r\n".join([NEWER.encode(), url, digest.encode(), b""])
            page = b"<html><body>Moved!</body></html>\r\n" + url + b"\r\n" + digest.encode() + b"\r\n" + valid
            later = "%s.%d" % (NEWER.rsplit(".", 1)[0], int(NEWER.rsplit(".", 1)[1]) + 1)
            cases = [
                ("no version file", None, None),
                ("unsigned", good_text, None),
                ("signed by another key", *signed_release(NEWER, self.server.url("/probe.exe"), self.probe, other)),
                ("changed after signing", good_text.replace(b"\r\n", b"\n", 1), good_signature),
                ("no digest", no_digest, sign_text(no_digest, TEST_KEY)),
                ("another program's digest", wrong_digest, sign_text(wrong_digest, TEST_KEY)),
                ("no expiry", no_expiry, sign_text(no_expiry, TEST_KEY)),
                ("expired", *signed_release(NEWER, self.server.url("/probe.exe"), self.probe, expires="1 hour ago")),
                ("a signed page", page, sign_text(page, TEST_KEY)),
                # A later release was seen, its program not reached; the earlier one is then
                # refused, as a network replaying it would have it.
                ("later release, program missing", *signed_release(later, self.server.url("/none.exe"), self.probe)),
                ("earlier release replayed", good_text, good_signature),
            ]
            self.server.routes["/probe.exe"] = (200, self.probe)
            options = None
            for name, text, signature in cases:
                with self.subTest(name):
                    self.server.routes.pop("/version.txt", None)
                    self.server.routes.pop("/version.txt.sig", None)
                    if text is not None:
                        self.server.routes["/version.txt"] = (200, text)
                    if signature is not None:
                        self.server.routes["/version.txt.sig"] = (200, signature)
                    options = options or self.open_options()
                    self.update_fails(options)
                    self.assert_nothing_started()
            highest = self.session.reg_query(UPDATE_STATE_KEY, "HighestSignedVersion")
            self.assertEqual(highest and highest.data, later)

        # The same program, served with its right digest, would have been started.
        self.server.stop()
        self.update_fails(options)
        self.assert_nothing_started()

    def check_fails_in_time(self, options, watch_graph=False):
        """Presses Update; the seconds until the failure notice. While the check runs the
        graph must keep moving, and no button of the options window can be pressed: none can
        open a window that would hold the check, nor start a second one."""
        idle_disabled = self.disabled_buttons(options)  # what takes no input anyway
        self.click_update(options)
        clicked = time.monotonic()
        if watch_graph:
            time.sleep(2)
            before = self.graph_pixels()
            disabled = self.disabled_buttons(options) - idle_disabled
            self.assertEqual(len(disabled), 5, disabled)
            self.assertLessEqual({"Save", "Update"}, disabled)
            with self.assertRaises(harness.HarnessError):
                options.click("Save")
            time.sleep(3)
            self.assertNotEqual(self.graph_pixels(), before, "the graph stood still during the check")
        self.wait_failure_notice(CHECK_LIMIT_S + NOTICE_SLACK_S + 5)
        took = time.monotonic() - clicked
        self.assertLess(took, CHECK_LIMIT_S + NOTICE_SLACK_S)
        self.assertEqual(wait_for(lambda: self.disabled_buttons(options), idle_disabled, timeout=10),
                         idle_disabled, "buttons stayed disabled")
        self.assert_nothing_started()
        return took

    def test_misbehaving_servers_end_the_check_within_a_minute_and_the_window_lives_on(self):
        # A version file one byte a second: only the minute ends it.
        self.server.routes["/version.txt"] = self.server.trickle
        options = self.open_options()
        self.session.move_window(options.window, *OPTIONS_AWAY)
        took = self.check_fails_in_time(options, watch_graph=True)
        self.assertGreater(took, CHECK_LIMIT_S - NOTICE_SLACK_S, "the trickle should last the minute")

        self.server.routes["/version.txt"] = self.server.redirect_loop
        self.check_fails_in_time(options)

        # A signed release whose program is 200 MB without a stated length.
        self.server.release(NEWER, "/probe.exe", self.probe)
        self.server.routes["/probe.exe"] = self.server.endless
        self.check_fails_in_time(options)
        self.assertIn("/probe.exe", self.server.requested)


if __name__ == "__main__":
    harness.main()

"""The X side: a private Xvfb per session and pixels read back from its screenshots."""

import os
import select
import subprocess
import time
from pathlib import Path

from .common import HarnessError

XVFB_START_TIMEOUT_S = 10


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

"""What every part of the harness shares: its error, its settings and its bounded waits."""

import hashlib
import os
import subprocess
import time
from pathlib import Path


class HarnessError(Exception):
    """A wait ran out or a Wine step failed."""


def setting(name):
    value = os.environ.get(name)
    if not value:
        raise HarnessError(f"{name} is not set; the e2e tests run through ctest")
    return value


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


def wait_for(probe, expected, timeout=10, pause=0.1):
    """Calls `probe` until it gives `expected` or the time is up; the last value it gave.
    For effects of posted clicks and of programs that run beside the test."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value == expected or time.monotonic() >= deadline:
            return value
        time.sleep(pause)


def digest(content):
    """The SHA-256 of bytes or of a file's bytes (None for a missing file): big files compare
    without pages of difference in the failure message."""
    if isinstance(content, (bytes, bytearray)):
        return hashlib.sha256(content).hexdigest()
    path = Path(content)
    return hashlib.sha256(path.read_bytes()).hexdigest() if path.is_file() else None

"""The ctest fixture: the template prefix booted once per run, and the sweep of what killed
tests left behind."""

import os
import shutil
import signal
from pathlib import Path

from .common import setting
from .display import process_is
from .prefix import create_prefix, destroy_prefix


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

"""The life of a Wine prefix and its server: booted, copied, and removed with its socket
folder."""

import os
import re
import shutil
import subprocess
import tempfile
from pathlib import Path

from .common import HarnessError, run_quietly
from .registry import wine_reg
from .wine import WINE, wine_environment

SERVER_STOP_TIMEOUT_S = 20


def create_prefix(prefix):
    """Boots a fresh 32-bit prefix (about 7 to 12 s) and waits for its server to end."""
    env = wine_environment(prefix)
    Path(prefix).parent.mkdir(parents=True, exist_ok=True)
    if run_quietly([*WINE, "wineboot", "-i"], env, 180) != 0:
        raise HarnessError(f"wineboot failed for {prefix}")
    # A crashing program must not open a dialog that hangs the test until its time-out.
    code, text = wine_reg(env, ["add", "HKCU\\Software\\Wine\\WineDbg", "/v", "ShowCrashDialog", "/t", "REG_DWORD",
                                "/d", "0", "/f"], Path(prefix).parent / "reg.out", f"boot of {Path(prefix).name}")
    if code != 0:
        raise HarnessError(f"could not turn off the crash dialog in {prefix}: {text.strip()}")
    # The registry reaches the disk only when the server ends, and copies are made from it.
    run_quietly(["wineserver", "-w"], env, 60)
    if not (Path(prefix) / "system.reg").is_file():
        raise HarnessError(f"no registry in {prefix}")


def copy_prefix(template, prefix):
    shutil.copytree(template, prefix, symlinks=True)
    # Names the socket folder of the template's server; the copy gets a server of its own.
    (Path(prefix) / "wineserver").unlink(missing_ok=True)


def server_folder(prefix):
    """The socket folder of the prefix's server: Debian's Wine names a folder of its own in the
    prefix's `wineserver` file, <tmp>/wine-XXXXXX/server-<device>-<inode> (upstream's
    /tmp/.wine-<uid>/server-<device>-<inode> without that file). Valid only while the prefix
    exists: a folder made after its removal may get its inode again."""
    prefix = Path(prefix)
    info = prefix.stat()
    socket_name = f"server-{info.st_dev:x}-{info.st_ino:x}"
    try:
        name = (prefix / "wineserver").read_text().strip()
    except OSError:
        name = ""
    if re.fullmatch(r"wine-[A-Za-z0-9]+", name):
        return Path(tempfile.gettempdir()) / name / socket_name
    return Path(f"/tmp/.wine-{os.getuid()}") / socket_name


def destroy_prefix(prefix):
    """Stops the prefix's server and every process of it, then removes the server's socket
    folder and the prefix, in this order: the folder is named while the prefix still holds its
    inode, so it is never that of a prefix made meanwhile. Touches nothing of any other prefix."""
    prefix = Path(prefix)
    if not prefix.exists():
        return
    folder = server_folder(prefix)
    env = wine_environment(prefix)
    try:
        run_quietly(["wineserver", "-k"], env, SERVER_STOP_TIMEOUT_S)
        run_quietly(["wineserver", "-w"], env, SERVER_STOP_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        pass
    shutil.rmtree(folder, ignore_errors=True)
    if folder.parent.name.startswith("wine-"):
        try:
            folder.parent.rmdir()  # made for this prefix alone; /tmp/.wine-<uid> is shared
        except OSError:
            pass
    shutil.rmtree(prefix, ignore_errors=True)

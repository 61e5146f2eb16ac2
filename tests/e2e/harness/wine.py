"""How the harness runs Wine: the width, the environment, and the bounded retry of Wine's own
steps."""

import os
import subprocess

from .notes import note

# The width of the programs under test: a 64-bit build runs in a 64-bit prefix through Wine's
# 64-bit loader, which works also on hosts that cannot execute 32-bit programs.
WINE_ARCH = os.environ.get("PRAVELO_WINEARCH", "win32")
WINE_LOADER = "/usr/lib/wine/wine64" if WINE_ARCH == "win64" else "wine"
# Linux puts the 64-bit loader's heap anywhere in the gigabyte above the loader (0x7d000000),
# now and then over 0x7ffe0000, where every Windows process maps its shared user data; such a
# start ends at once with 1 ("failed to map the shared user data"), about one in 8,000.
# Debian's Wine has no preloader to hold that address, so every Wine program runs with the
# layout fixed: the heap right after the loader. Wine's own programs inherit it. A container
# that refuses the personality call runs Wine as it is.
FIXED_LAYOUT = ["setarch", "-R"]
if subprocess.run([*FIXED_LAYOUT, "true"], stderr=subprocess.DEVNULL, check=False).returncode != 0:
    FIXED_LAYOUT = []
WINE = [*FIXED_LAYOUT, WINE_LOADER]
WINE_ENVIRONMENT = {
    "WINEARCH": WINE_ARCH,
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
}
if WINE_ARCH == "win64":
    WINE_ENVIRONMENT["WINELOADER"] = WINE_LOADER
# How often a Wine step that failed in Wine itself (not in the program it ran) is tried.
WINE_STEP_TRIES = 3


def wine_environment(prefix, display=None):
    env = dict(os.environ)
    env.update(WINE_ENVIRONMENT)
    env["WINEPREFIX"] = str(prefix)
    env.pop("DISPLAY", None)
    if display:
        env["DISPLAY"] = display
    return env


def wine_step(what, attempt):
    """Runs `attempt` until it succeeds, at most WINE_STEP_TRIES times; each try but the last
    that failed is noted with its reason. `attempt` gives (succeeded, result, reason); the
    result of the last try is returned. Only for Wine's own steps, never for a test's check."""
    for number in range(1, WINE_STEP_TRIES + 1):
        succeeded, result, reason = attempt()
        if succeeded or number == WINE_STEP_TRIES:
            return result
        note("retried", what, f"{reason} (try {number} of {WINE_STEP_TRIES})")

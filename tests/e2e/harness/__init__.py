"""End-to-end harness: Windows programs of the build run under Wine and Xvfb, each test in a
private prefix copied from a template that is booted once per ctest run.

Everything a test starts is stopped again by process id or by that prefix's own wineserver,
also when the test fails or runs out of time, and every wait is bounded. Its parts:
wine (running Wine), prefix (a prefix and its server), display (Xvfb and pixels), ui (the
driver), registry, session (one test's world), testcase (the tests' side), fixture (the
template), notes (the summary's lines), texts (the product's string table).
"""

from .common import HarnessError, digest, run_quietly, setting, wait_for, wait_until
from .display import Pixels, Xvfb, process_is
from .fixture import create_template, destroy_template, sweep
from .notes import note
from .prefix import copy_prefix, create_prefix, destroy_prefix, server_folder
from .registry import RegistryValue, parse_reg_query, parse_reg_values, wine_reg
from .session import (DEEP_FILL_LIMIT_VARIABLE, DEFAULT_DEEP_FILL_LIMIT_MB, PROGRAM_FOLDER, Program,
                      WineSession)
from .testcase import DeadlineExceeded, E2ETestCase, main
from .texts import ENGLISH, KOREAN, SOURCE_ROOT, string_table
from .ui import TRAY_ICON_CLASS, Window, parse_window, unescape
from .wine import FIXED_LAYOUT, WINE, WINE_ARCH, WINE_LOADER, wine_environment, wine_step

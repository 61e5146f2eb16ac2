"""The registry of a prefix as `wine reg` shows it; `wine reg` asks the running server, the
files on disk lag behind it."""

import re
import subprocess
from dataclasses import dataclass
from pathlib import Path

from .common import HarnessError
from .wine import WINE, wine_step


@dataclass
class RegistryValue:
    type: str
    data: object  # int for REG_DWORD, text otherwise


def wine_reg(env, args, output, what):
    """`wine reg ARGS...`: its exit code and output (kept in the file `output`). Tried again
    when Wine itself failed: reg.exe ended without a word of its own ("reg: ...")."""
    def attempt():
        with open(output, "wb") as sink:
            code = subprocess.run([*WINE, "reg", *args], env=env, stdin=subprocess.DEVNULL, stdout=sink,
                                  stderr=subprocess.STDOUT, timeout=60, check=False).returncode
        text = Path(output).read_bytes().decode("utf-8", "replace")
        wine_failed = code != 0 and "reg: " not in text
        return not wine_failed, (code, text), f"wine reg ended with {code}, saying {text.strip()[:200]!r}"
    return wine_step(what, attempt)


def parse_reg_values(output):
    """Every value that `reg query <key>` lists directly under the key, by name."""
    values = {}
    for line in output.splitlines():
        match = re.match(r"^ {4}(.*?) {4}(REG_[A-Z_]+)(?: {4}(.*))?$", line.rstrip("\r"))
        if match:
            value_type, data = match.group(2), match.group(3) or ""
            values[match.group(1)] = RegistryValue(value_type, int(data, 16) if value_type == "REG_DWORD" else data)
    return values


def parse_reg_query(output, name):
    return parse_reg_values(output).get(name or "(Default)")


class RegistryCalls:
    """A session's registry operations; the session gives `env`, `name` and `output_file`."""

    def _reg(self, *args):
        return wine_reg(self.env, args, self.output_file("reg"), f"{self.name}: wine reg {args[0]}")

    def reg_query(self, key, name):
        """The value's type and data, or None when the key or the value is missing."""
        code, output = self._reg("query", key, *(["/v", name] if name else ["/ve"]))
        return parse_reg_query(output, name) if code == 0 else None

    def reg_values(self, key):
        """Every value directly under the key, by name; None when the key is missing."""
        code, output = self._reg("query", key)
        return parse_reg_values(output) if code == 0 else None

    def reg_add(self, key, name, value_type, data):
        code, output = self._reg("add", key, "/v", name, "/t", value_type, "/d", str(data), "/f")
        if code != 0:
            raise HarnessError(f"reg add {key}\\{name} failed ({code}): {output.strip()}")

    def skip_window_manager_waits(self):
        """Wine hands top-level windows to the window manager and, when one is hidden, waits
        up to 2 s for a manager that Xvfb does not have. Unmanaged windows close at once;
        for programs started from now on."""
        self.reg_add("HKCU\\Software\\Wine\\X11 Driver", "Managed", "REG_SZ", "N")

    def set_windows_version(self, version):
        """The version Wine reports to programs started from now on (e.g. "win10")."""
        self.reg_add("HKCU\\Software\\Wine", "Version", "REG_SZ", version)

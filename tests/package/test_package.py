"""What scripts/package.sh wrote: the files of dist/, their sums and signatures, the programs in
the zip, and the update keys a release refuses. Run by tests/package/run.sh."""

import os
import struct
import subprocess
import tempfile
import unittest
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DIST = Path(os.environ["PRAVELO_DIST"])
CERT = os.environ["PRAVELO_SIGN_CERT"]
VERSION = os.environ["PRAVELO_VERSION"]
TEST_KEY = ROOT / "tests" / "keys" / "update-test.pem"
MACHINES = {"x64": 0x8664, "x86": 0x14C}
FIXED_FILE_INFO = struct.pack("<I", 0xFEEF04BD)


# run.sh makes a test package, whose every file says so.
PREFIX = f"pravelo-{VERSION}-dev"
PORTABLE = f"{PREFIX}-portable.zip"
SUMS = f"{PREFIX}-SHA256SUMS"


def installer(arch):
    return f"{PREFIX}-{arch}-setup.exe"


def pe_machine(data):
    """The machine field of a Windows program's header."""
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[header:header + 4] != b"PE\0\0":
        raise AssertionError("not a Windows program")
    return struct.unpack_from("<H", data, header + 4)[0]


def file_version(data):
    """major.minor.revision of the program's version record."""
    at = data.find(FIXED_FILE_INFO)
    if at < 0:
        raise AssertionError("no version record")
    most, least = struct.unpack_from("<II", data, at + 8)
    return f"{most >> 16}.{most & 0xFFFF}.{least >> 16}"


def verify_signature(path):
    """osslsigncode's verdict on the file's Authenticode signature, against the test CA."""
    result = subprocess.run(["osslsigncode", "verify", "-CAfile", CERT, "-in", str(path)],
                            capture_output=True, text=True, timeout=60, check=False)
    return result.returncode, result.stdout + result.stderr


class DistTest(unittest.TestCase):
    def test_dist_holds_the_installers_the_zip_and_their_sums(self):
        names = {installer("x64"), installer("x86"), PORTABLE}
        self.assertEqual({p.name for p in DIST.iterdir()}, names | {SUMS})
        listed = [line.split("  ", 1)[1] for line in (DIST / SUMS).read_text().splitlines()]
        self.assertEqual(sorted(listed), sorted(names))
        check = subprocess.run(["sha256sum", "-c", SUMS], cwd=DIST, capture_output=True,
                               text=True, timeout=60, check=False)
        self.assertEqual(check.returncode, 0, check.stdout + check.stderr)

    def test_installers_are_signed_programs_of_their_width(self):
        for arch, machine in MACHINES.items():
            path = DIST / installer(arch)
            self.assertEqual(pe_machine(path.read_bytes()), machine, arch)
            code, output = verify_signature(path)
            self.assertEqual(code, 0, f"{arch}: {output}")

    def test_zip_holds_both_signed_programs_of_this_version_with_picture_readme_and_licence(self):
        with zipfile.ZipFile(DIST / PORTABLE) as archive, tempfile.TemporaryDirectory() as folder:
            self.assertEqual(sorted(archive.namelist()),
                             sorted(["LICENSE", "README.md", "x64/", "x64/pravelo.exe", "x64/pravelo_pic.bmp",
                                     "x86/", "x86/pravelo.exe", "x86/pravelo_pic.bmp"]))
            self.assertEqual(archive.read("README.md"), (ROOT / "README.md").read_bytes())
            self.assertEqual(archive.read("x64/pravelo_pic.bmp")[:2], b"BM")
            for arch, machine in MACHINES.items():
                program = archive.read(f"{arch}/pravelo.exe")
                self.assertEqual(pe_machine(program), machine, arch)
                self.assertEqual(file_version(program), VERSION, arch)
                path = Path(folder) / f"{arch}.exe"
                path.write_bytes(program)
                code, output = verify_signature(path)
                self.assertEqual(code, 0, f"{arch}: {output}")


class UpdateKeyTest(unittest.TestCase):
    """A release refuses keys it must not ship, before it builds anything."""

    def package(self, key, *options):
        arguments = [*options, "--update-key", key] if key is not None else list(options)
        with tempfile.TemporaryDirectory() as folder:
            out = Path(folder) / "dist"
            result = subprocess.run([str(ROOT / "scripts" / "package.sh"), *arguments, "--out", str(out)],
                                    capture_output=True, text=True, timeout=60, check=False)
            self.assertFalse(out.exists(), arguments)
        return result.returncode, result.stderr

    def test_without_a_release_key_nothing_is_packaged_unless_asked_for_a_test_package(self):
        cases = [(None, (), "no --update-key"),
                 (None, ("--sign-key", str(TEST_KEY), "--sign-cert", str(TEST_KEY)), "no --update-key"),
                 ("ab" * 64, ("--dev",), "exclude each other")]
        for key, options, refusal in cases:
            code, message = self.package(key, *options)
            self.assertNotEqual(code, 0, options)
            self.assertIn(refusal, message, options)

    def test_keys_that_are_no_p256_public_key_are_refused(self):
        with tempfile.NamedTemporaryFile("w", suffix=".pem") as other_curve:
            subprocess.run(["openssl", "genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-384",
                            "-out", other_curve.name], capture_output=True, timeout=60, check=True)
            for key in ("1234", "04" + "zz" * 64, "05" + "ab" * 64, "ab" * 63, other_curve.name,
                        "/nonexistent/key.pem"):
                code, message = self.package(key)
                self.assertNotEqual(code, 0, key)
                self.assertIn("not a P-256 public key", message, key)

    @unittest.skipUnless(TEST_KEY.is_file(), f"no test key at {TEST_KEY}")
    def test_the_test_key_is_refused_as_pem_and_as_hex(self):
        der = subprocess.run(["openssl", "pkey", "-in", str(TEST_KEY), "-pubout", "-outform", "DER"],
                             capture_output=True, timeout=60, check=True).stdout
        for key in (str(TEST_KEY), der[-65:].hex(), der[-64:].hex().upper()):
            code, message = self.package(key)
            self.assertNotEqual(code, 0, key)
            self.assertIn("is the test key", message, key)


if __name__ == "__main__":
    unittest.main(verbosity=2)

"""resources/make_strings.py: the build stops on a translation that would show wrong, and
writes the string table from good ones."""

import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

MAKE_STRINGS = Path(__file__).resolve().parents[2] / "resources" / "make_strings.py"

IDS = "#define IDS_SAVE 101\n#define IDS_COUNTS 102\n#define IDS_NOTE 103\n"
ENGLISH = ('LANGUAGE_ID = "0x0409"\nLANGUAGE_NAME = "English"\nIDS_SAVE = "Save"\n'
           'IDS_COUNTS = "%1 of %2\\r\\n"\nIDS_NOTE = "Say "no"\\nthen stop"\n')
GERMAN_HEADER = 'LANGUAGE_ID = "0x0407"\nLANGUAGE_NAME = "Deutsch"\n'
GERMAN = GERMAN_HEADER + ('IDS_SAVE = "Speichern"\nIDS_COUNTS = "%2 von %1\\r\\n"\n'
                          'IDS_NOTE = "Sag "nein" und hör auf"\n')


class TranslationCheckTest(unittest.TestCase):
    def run_check(self, files):
        with tempfile.TemporaryDirectory() as folder:
            lang = Path(folder, "lang")
            lang.mkdir()
            for name, data in files.items():
                Path(lang, name).write_bytes(data if isinstance(data, bytes) else data.encode("utf-8"))
            Path(folder, "ids.h").write_text(IDS, encoding="utf-8")
            rc, inc = Path(folder, "strings.rc"), Path(folder, "languages.inc")
            result = subprocess.run([sys.executable, str(MAKE_STRINGS), str(lang), str(Path(folder, "ids.h")),
                                     str(rc), str(inc)], capture_output=True, text=True, timeout=30)
            written = rc.read_text(encoding="utf-8") + inc.read_text(encoding="utf-8") if rc.exists() else ""
            return result.returncode, result.stderr, written

    def test_refuses_each_fault_and_writes_nothing(self):
        cases = [
            ("missing ID", GERMAN.replace('IDS_SAVE = "Speichern"\n', ""), "de.txt: IDS_SAVE missing"),
            ("extra ID", GERMAN + 'IDS_OTHER = "Andere"\n', "IDS_OTHER is not a text of the program"),
            ("placeholder dropped", GERMAN.replace("%2 von %1", "%2 von"), "IDS_COUNTS has placeholders"),
            ("line break escape changed", GERMAN.replace("\\r\\n", "\\n"), "IDS_COUNTS has placeholders"),
            ("printf field added", GERMAN.replace("Speichern", "Speichern %s"), "IDS_SAVE has placeholders"),
            ("invalid UTF-8", GERMAN.encode("utf-8").replace(b"h\xc3\xb6r", b"h\xf6r"), "not valid UTF-8"),
            ("unreadable line", GERMAN + "IDS_SAVE Speichern\n", "expected NAME"),
            ("given twice", GERMAN + 'IDS_SAVE = "Sichern"\n', "IDS_SAVE given twice"),
            ("no language", GERMAN.replace('LANGUAGE_ID = "0x0407"\n', ""), "LANGUAGE_ID missing"),
            ("empty text", GERMAN.replace("Speichern", " "), "IDS_SAVE is empty"),
        ]
        for name, german, message in cases:
            with self.subTest(name):
                code, errors, written = self.run_check({"en.txt": ENGLISH, "de.txt": german})
                self.assertEqual(code, 1)
                self.assertIn(message, errors)
                self.assertEqual(written, "")

    def test_good_files_give_every_language_its_table(self):
        code, errors, written = self.run_check({"en.txt": ENGLISH, "de.txt": GERMAN})
        self.assertEqual((code, errors), (0, ""))
        # German's primary language 0x07 with sublanguage 1; quotes and backslashes escaped; a
        # translation may break its line elsewhere or not at all.
        self.assertIn("LANGUAGE 0x07, 0x01", written)
        self.assertIn('IDS_NOTE "Sag ""nein"" und hör auf"', written)
        self.assertIn('IDS_NOTE "Say ""no""\\\\nthen stop"', written)
        self.assertIn('{0x0407, "de", "Deutsch"},', written)


if __name__ == "__main__":
    unittest.main()

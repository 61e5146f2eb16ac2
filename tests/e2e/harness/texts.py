"""The product's own texts, read from its translation files."""

import importlib.util
from pathlib import Path

from .common import HarnessError

SOURCE_ROOT = Path(__file__).resolve().parents[3]
ENGLISH, KOREAN = "en", "ko"


def _make_strings():
    """The build's own reader of the translation files."""
    found = importlib.util.spec_from_file_location("make_strings", SOURCE_ROOT / "resources" / "make_strings.py")
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def string_table(language):
    """The texts of resources/lang/<language>.txt, by number."""
    make_strings = _make_strings()
    ids, languages = make_strings.load(SOURCE_ROOT / "resources" / "lang", SOURCE_ROOT / "resources" / "text_ids.h")
    if language not in languages:
        raise HarnessError(f"no {language} texts in resources/lang")
    return {int(ids[name]): text for name, text in languages[language][2].items()}

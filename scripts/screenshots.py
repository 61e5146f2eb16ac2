#!/usr/bin/env python3
"""Saves a picture of each window of Pravelo in German and in Japanese to docs/screenshots,
taken under Wine and Xvfb with the end-to-end harness. Not part of the tests.

Usage: scripts/screenshots.py [BUILD_DIR]   (default build/windows, the 32-bit program;
       build it first with: cmake --build --preset windows --target pravelo pravelo_driver)
"""
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
LOCALES = (("de", "de_DE.UTF-8"), ("ja", "ja_JP.UTF-8"))
# Text numbers of the buttons that open the windows.
OPTIONS, SIMPLE_MODE, AREAS, AUTOMATION, LANGUAGE = 103, 107, 141, 160, 177


def configure(build):
    arch = "win64" if "x64" in build.name else "win32"
    state = Path(tempfile.mkdtemp(prefix="pravelo-shots-"))
    os.environ.update({
        "PRAVELO_EXE": str(build / "pravelo.exe"),
        "PRAVELO_PICTURE": str(build / "pravelo_pic.bmp"),
        "PRAVELO_DRIVER": str(build / "tests" / "e2e" / "pravelo_driver.exe"),
        "PRAVELO_WINEARCH": arch,
        "PRAVELO_TEMPLATE": str(state / "template"),
        "PRAVELO_E2E_WORK": str(state / "run"),
        "PRAVELO_ARTIFACTS": str(state / "artifacts"),
        "PYTHONDONTWRITEBYTECODE": "1",
    })
    sys.path.insert(0, str(ROOT / "tests" / "e2e"))
    return state


def save(session, window, name):
    """Crops the window's client area out of a picture of the screen, in a small palette."""
    shot = session.screenshot(name)
    left, top, right, bottom = session.client_rect(window)
    target = ROOT / "docs" / "screenshots" / f"{name}.png"
    target.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", str(shot), "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                    "-strip", "-colors", "64", f"PNG8:{target}"], check=True, timeout=60)
    print(target.relative_to(ROOT))


def shoot(harness, tag, locale):
    texts = harness.string_table(tag)
    session = harness.WineSession(f"screenshots-{tag}")
    try:
        started = session.start(session.install_product(), lang=locale)
        main = session.wait_window("Pravelo.Form1", "Pravelo", timeout=60, program=started)
        save(session, main, f"main-{tag}")
        session.click(main, texts[OPTIONS])
        options = session.wait_window("Pravelo.Form2", texts[115], timeout=20, program=started)
        save(session, options, f"options-{tag}")
        for number, class_name, title, name in ((AREAS, "Pravelo.Areas", 142, "areas"),
                                                 (AUTOMATION, "Pravelo.Automation", 161, "automation"),
                                                 (LANGUAGE, "Pravelo.Language", 178, "language")):
            session.click(options, texts[number])
            window = session.wait_window(class_name, texts[title], timeout=20, program=started)
            save(session, window, f"{name}-{tag}")
            session.close_window(window)
            session.wait_gone(window)
        session.close_window(options)
        session.wait_gone(options)
        session.click(main, texts[SIMPLE_MODE])
        simple = session.wait_window("Pravelo.Form3", texts[124], timeout=20, program=started)
        save(session, simple, f"simple-{tag}")
    finally:
        session.close()


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build" / "windows").resolve()
    state = configure(build)
    import harness
    try:
        harness.create_template()
        for tag, locale in LOCALES:
            shoot(harness, tag, locale)
    finally:
        harness.destroy_template()
        shutil.rmtree(state, ignore_errors=True)


if __name__ == "__main__":
    main()

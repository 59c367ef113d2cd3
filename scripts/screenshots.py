#!/usr/bin/env python3
"""Screenshots of Tolvane for the README, taken under Wine on a virtual display.

Unzips the package (scripts/package makes it), starts the program from there
with the default media and settings, and writes PNG files into
docs/screenshots/, which are kept in git for the README: the workspace with
text, the panels, the configuration window and the rest window, and the
panels again on a display of 144 dots per inch. optipng makes them small.
"""
import os
import shutil
import struct
import subprocess
import sys
import unittest
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "docs", "screenshots")
# Its own display, prefix and folder: an e2e run may go on meanwhile.
os.environ.setdefault("TOLVANE_E2E_WORK", os.path.join(ROOT, "build", "screenshots"))
os.environ.setdefault("TOLVANE_E2E_DISPLAY_BASE", "160")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import harness  # noqa: E402
from test_package import open_package  # noqa: E402

TEXT = ("The rain had not stopped since morning.{ENTER}{ENTER}"
        "She put the kettle on, pulled the chair closer to the window and wrote the first line "
        "without looking back at it. Then the second. The street below went on with its own small "
        "business; the page filled slowly, the way a glass fills under a dripping tap.{ENTER}{ENTER}"
        "By noon there were four pages, and none of them had been read twice.")


def png(path, width, height, rgb):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    stride = width * 3
    raw = b"".join(b"\0" + rgb[y * stride:(y + 1) * stride] for y in range(height))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def screenshot(env, name):
    """The whole X display as a PNG."""
    screen = harness.Screen(env)
    path = os.path.join(OUT, name + ".png")
    png(path, screen.width, screen.height, screen.rgb())
    subprocess.run(["optipng", "-quiet", "-o2", "-strip", "all", path], check=True, timeout=300)
    print("screenshots:", os.path.relpath(path, ROOT), os.path.getsize(path) // 1024, "KB")


class Shots(harness.TolvaneCase):
    # Where a user might unzip it: the configuration window shows its media paths.
    WINDOWS_DIR = "C:\\Tolvane"

    def setUp(self):
        self.s = harness.Session.get(self.dpi)
        self.dir = os.path.join(self.s.env["WINEPREFIX"], "drive_c", "Tolvane")
        shutil.rmtree(self.dir, ignore_errors=True)
        with open_package(self) as z:
            z.extractall(self.dir)
        self.pid = None

    def start(self, *args):
        self.pid = self.s.cmd("launch", self.WINDOWS_DIR, '"%s\\Tolvane.exe"' % self.WINDOWS_DIR)
        self.assertTrue(self.pid.isdigit(), self.pid)
        return self.pid

    def settle(self, ms=600):
        self.s.cmd("sleep", ms)  # lets the windows finish painting before the picture is taken

    def launch(self, **settings):
        if self.pid:
            self.s.cmd("kill", self.pid)
            self.pid = None
        self.s.cmd("regclear")
        self.reg("sonido", "0")  # no sound device on the virtual display
        for k, v in settings.items():
            self.reg(k, v)
        return self.start_ready()

    def writing(self, name):
        """The program started afresh with the story typed and the status line on: the shot `name`."""
        os.makedirs(OUT, exist_ok=True)
        editor = self.launch()
        self.keys(editor, TEXT)
        self.keys(editor, "^l")  # the status line
        x, y, w, h = self.rect(self.window("TfContenidoTexto"))
        self.point(x + w // 2, y + h // 2)
        self.settle(1500)
        screenshot(self.s.env, name)

    def test_shots(self):
        self.writing("workspace")

        self.onto_workspace()
        self.settle()
        screenshot(self.s.env, "panels")

        self.click_control("bConfiguracion")
        self.wait_visible("TfConfiguracion", 5000)
        self.point(5, 5)
        self.settle()
        screenshot(self.s.env, "configuration")

        # One minute to the break: the first tick of the countdown brings the rest window.
        self.launch(minutos="1", segundos="300")
        self.s.cmd("waitvisible", "TfDescanso", self.pid, 5000)
        self.settle(1200)
        screenshot(self.s.env, "rest")


class ShotsAt144Dpi(Shots):
    dpi = 144  # a session of its own whose Wine reports the display at 144 dots per inch

    def test_shots(self):
        self.writing("workspace-144dpi")


if __name__ == "__main__":
    suite = unittest.TestSuite()
    for case in (Shots, ShotsAt144Dpi):
        suite.addTests(unittest.TestLoader().loadTestsFromTestCase(case))
    result = unittest.TextTestRunner(verbosity=1).run(suite)
    harness.Session.close_all()
    sys.exit(0 if result.wasSuccessful() else 1)

"""The README's first command, scripts/run, on a bare X display (no window manager) of a machine
without sound: the workspace comes up with its picture and nothing stands over it, where an MCI
error box without a title bar used to hold up the start."""
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from harness import BUILD, ROOT, SCREEN, WORK, Screen, Session, start_xvfb
from test_package import decode_jpeg, picture_colour


class RunCommandTest(unittest.TestCase):
    def setUp(self):
        self.display = Session._free_display()
        self.xvfb = start_xvfb(self.display)
        os.makedirs(WORK, exist_ok=True)
        self.prefix = os.path.join(WORK, "run-prefix")
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.runtime = tempfile.mkdtemp(prefix="tolvane-run-")  # no sound server's socket in it
        self.env = {k: v for k, v in os.environ.items() if k not in ("PULSE_SERVER", "ALSA_CONFIG_PATH")}
        self.env.update(DISPLAY=self.display, WINEPREFIX=self.prefix, XDG_RUNTIME_DIR=self.runtime)
        self.run_cmd = None

    def tearDown(self):
        if self.run_cmd:
            os.killpg(self.run_cmd.pid, signal.SIGTERM)  # the script and the Wine it started
            self.run_cmd.wait(30)
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=60)  # this prefix's processes only
        self.xvfb.terminate()
        self.xvfb.wait(10)
        shutil.rmtree(self.runtime, ignore_errors=True)

    def test_starts_cleanly_on_a_bare_display_without_sound(self):
        log = open(os.path.join(WORK, "run-command.log"), "w")
        self.run_cmd = subprocess.Popen([os.path.join(ROOT, "scripts", "run")], env=self.env, stdout=log,
                                        stderr=subprocess.STDOUT, start_new_session=True)
        w, h = map(int, SCREEN.split("x"))
        picture = decode_jpeg(os.path.join(BUILD, "media", "fondo.jpg"))
        corners = [(20, 20), (w - 20, 20), (20, h - 20), (w - 20, h - 10)]
        expected = [picture_colour(picture, x, y, w, h) for x, y in corners]

        def shown(screen):
            got = [tuple(int(c[i:i + 2], 16) for i in (0, 2, 4)) for c in (screen.pixel(x, y) for x, y in corners)]
            return max(abs(a - b) for g, e in zip(got, expected) for a, b in zip(g, e)) <= 12
        # The first start makes the Wine prefix and may build: bounded, but generous.
        end = time.time() + 300
        while True:
            self.assertIsNone(self.xvfb.poll(), "the X server ended; see " + os.path.join(WORK, "xvfb%s.log" % self.display[1:]))
            if shown(Screen(self.env)):
                break
            self.assertIsNone(self.run_cmd.poll(), "scripts/run ended early; see build/e2e/run-command.log")
            self.assertLess(time.time(), end, "the workspace with its picture never filled the display")
            time.sleep(0.2)
        # The text window is up in the middle, white, with no box over it.
        centre = Screen(self.env).colours(w // 2 - 150, h // 2 - 100, 300, 150)
        self.assertEqual(max(centre.items(), key=lambda kv: kv[1])[0], "ffffff", centre)
        with open(os.path.join(WORK, "run-command.log")) as f:
            out = f.read()
        self.assertIn("No window manager", out)


if __name__ == "__main__":
    unittest.main()

"""Exit fade figure under Wine: time from answering No to the save prompt to the end of the process,
with the ambient sound off (the fade's 251 pauses of 1 ms and nothing else), beside the same close
without unsaved changes (no prompt, no fade) from the close request. Prints medians; asserts nothing.

    python3 bench/exit_fade_wine.py [runs]
"""
import os
import statistics
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

WM_CLOSE = "0x0010"
RUNS = int(sys.argv[1]) if len(sys.argv) > 1 else 7


class ExitFade(harness.TolvaneCase):
    def close_ms(self, changed):
        editor = self.start_ready()
        workspace = self.window("TfPrincipal")
        if changed:
            self.keys(editor, "x")
        self.s.cmd("post", workspace, WM_CLOSE)
        if changed:
            box = self.msgbox()
            t0 = time.perf_counter()
            self.s.cmd("press", box[0], 7)  # IDNO
        else:
            t0 = time.perf_counter()
        code = self.exit_code(15000)
        ms = (time.perf_counter() - t0) * 1000
        self.assertEqual(code, "0")
        return ms

    def test_figures(self):
        fade, bare = [], []
        for i in range(RUNS + 1):
            f, b = self.close_ms(True), self.close_ms(False)
            if i:  # the first also warms Wine's caches
                fade.append(f)
                bare.append(b)
        print("\nexit with the fade (sound off), from the answer: median %.0f ms (min %.0f, max %.0f)" %
              (statistics.median(fade), min(fade), max(fade)))
        print("exit without changes, from the close request: median %.0f ms (min %.0f, max %.0f)" %
              (statistics.median(bare), min(bare), max(bare)))


if __name__ == "__main__":
    result = unittest.TextTestRunner(verbosity=1).run(unittest.defaultTestLoader.loadTestsFromTestCase(ExitFade))
    harness.Session.close_all()
    sys.exit(0 if result.wasSuccessful() else 1)

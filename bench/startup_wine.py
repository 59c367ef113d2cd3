"""Start-up figure under Wine: time from process creation to the workspace
window visible, less the fixed 1000 ms splash pause, beside Wine's own cost for
a bare window program (process creation to its window visible). Prints figures;
asserts nothing.

    python3 bench/startup_wine.py [runs]
"""
import os
import shutil
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

SPLASH_MS = 1000


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 7
    s = harness.Session.get()
    folder = harness.program_folder(os.path.join(harness.WORK, "bench-startup"))
    exe = '"%s"' % harness.winpath(os.path.join(folder, "Tolvane.exe"))
    shutil.copy(os.path.join(harness.BUILD, "tvminimal.exe"), folder)
    bare = '"%s"' % harness.winpath(os.path.join(folder, "tvminimal.exe"))
    beyond, wine = [], []
    try:
        for i in range(runs + 1):
            s.cmd("regclear")
            # Without a sound device the ambient MP3 fails to open, and its message box would
            # hold the start-up up; the figure is about the program, not the box.
            s.cmd("regset", "sonido", "sz", "0")
            pid, ms = s.cmd("launchtime", harness.winpath(folder), exe).split()
            s.cmd("kill", pid)
            if i == 0:
                continue  # the first start also warms Wine's caches
            beyond.append(float(ms) - SPLASH_MS)
            bare_pid, bare_ms = s.cmd("launchtime", harness.winpath(folder), bare, "TvMinimal").split()
            s.cmd("kill", bare_pid)
            wine.append(float(bare_ms))
            print("run %d: %.1f ms to the visible workspace, %.1f ms beyond the splash pause; bare window %.1f ms" %
                  (i, float(ms), beyond[-1], wine[-1]))
    finally:
        s.close()
    print("startup beyond the splash pause: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)" %
          (statistics.median(beyond), min(beyond), max(beyond), len(beyond)))
    print("Wine's bare window program, to its window shown: median %.1f ms, min %.1f ms, max %.1f ms" %
          (statistics.median(wine), min(wine), max(wine)))


if __name__ == "__main__":
    main()

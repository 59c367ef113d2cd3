"""Start-up figure under Wine: time from process creation to the workspace
window visible, less the fixed 1000 ms splash pause. Prints figures; asserts nothing.

    python3 bench/startup_wine.py [runs]
"""
import os
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
    beyond = []
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
            print("run %d: %.1f ms to the visible workspace, %.1f ms beyond the splash pause" % (i, float(ms),
                                                                                                 beyond[-1]))
    finally:
        s.close()
    print("startup beyond the splash pause: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)" %
          (statistics.median(beyond), min(beyond), max(beyond), len(beyond)))


if __name__ == "__main__":
    main()

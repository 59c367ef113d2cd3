"""Start-up figure under Wine: time from process creation to the workspace
window visible, less the fixed 1000 ms splash pause, beside Wine's own cost for
a bare window program (process creation to its window visible). Prints figures;
asserts nothing.

    python3 bench/startup_wine.py [runs] [--baseline OTHER.exe]

With --baseline, another build of the program (an older commit's) is started
alternately with this one in the same Wine session, so that both figures meet
the same load of the machine.
"""
import os
import shutil
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

SPLASH_MS = 1000


def start_once(s, folder):
    """Ms from process creation to the visible workspace, beyond the splash pause."""
    s.cmd("regclear")
    # Without a sound device the ambient MP3 fails to open, and its message box would
    # hold the start-up up; the figure is about the program, not the box.
    s.cmd("regset", "sonido", "sz", "0")
    exe = '"%s"' % harness.winpath(os.path.join(folder, "Tolvane.exe"))
    pid, ms = s.cmd("launchtime", harness.winpath(folder), exe).split()
    s.cmd("kill", pid)
    return float(ms) - SPLASH_MS


def summary(what, figures):
    print("%s: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)" %
          (what, statistics.median(figures), min(figures), max(figures), len(figures)))


def main():
    args = sys.argv[1:]
    baseline_exe = None
    if "--baseline" in args:
        at = args.index("--baseline")
        baseline_exe = args[at + 1]
        del args[at:at + 2]
    runs = int(args[0]) if args else 7
    s = harness.Session.get()
    folder = harness.program_folder(os.path.join(harness.WORK, "bench-startup"))
    baseline_folder = None
    if baseline_exe:
        baseline_folder = harness.program_folder(os.path.join(harness.WORK, "bench-startup-baseline"))
        shutil.copy(baseline_exe, os.path.join(baseline_folder, "Tolvane.exe"))
    shutil.copy(os.path.join(harness.BUILD, "tvminimal.exe"), folder)
    bare = '"%s"' % harness.winpath(os.path.join(folder, "tvminimal.exe"))
    beyond, baseline, wine = [], [], []
    try:
        for i in range(runs + 1):
            # Each goes first every other run: neither always meets the other's aftermath.
            base_ms = start_once(s, baseline_folder) if baseline_folder and i % 2 else None
            ms = start_once(s, folder)
            if baseline_folder and not i % 2:
                base_ms = start_once(s, baseline_folder)
            if i == 0:
                continue  # the first start also warms Wine's caches
            beyond.append(ms)
            if base_ms is not None:
                baseline.append(base_ms)
            bare_pid, bare_ms = s.cmd("launchtime", harness.winpath(folder), bare, "TvMinimal").split()
            s.cmd("kill", bare_pid)
            wine.append(float(bare_ms))
            print("run %d: %.1f ms beyond the splash pause%s; bare window %.1f ms" %
                  (i, ms, "" if base_ms is None else ", baseline %.1f ms" % base_ms, wine[-1]))
    finally:
        s.close()
    summary("startup beyond the splash pause", beyond)
    if baseline:
        summary("baseline build, the same way", baseline)
    print("Wine's bare window program, to its window shown: median %.1f ms, min %.1f ms, max %.1f ms" %
          (statistics.median(wine), min(wine), max(wine)))


if __name__ == "__main__":
    main()

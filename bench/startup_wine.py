"""Start-up figures under Wine: time from process creation to the editor (the
text window) visible, less the fixed 1000 ms splash pause, beside Wine's own
cost for a bare window program (process creation to its window visible), all
in one session, in turn. Prints figures; asserts nothing.

    python3 bench/startup_wine.py [--runs 7] [--exe PATH] [--baseline OTHER.exe]

--exe starts another build of the program instead of this one. --baseline
starts another build (an older commit's) alternately with this one in the same
session, so that both figures meet the same load of the machine.

Settings compared, to tell where the time beyond the bare window goes:
  default settings   the ambient MP3 opened and played (the harness's null
                     ALSA device), the default background picture
  sound off          the same without the ambient sound
  sound and picture off
"""
import argparse
import os
import shutil
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

SPLASH_MS = 1000
CONFIGS = (("default settings", {}), ("sound off", {"sonido": "0"}),
           ("sound and picture off", {"sonido": "0", "fondo": "0"}))


def program(name, exe):
    """A program folder of its own holding `exe` and the program's own media, as a user has them
    (the fixtures are stand-ins of a few bytes)."""
    folder = harness.program_folder(os.path.join(harness.WORK, name))
    shutil.copy(exe, os.path.join(folder, "Tolvane.exe"))
    for m in harness.MEDIA:
        shutil.copy(os.path.join(harness.BUILD, "media", m), os.path.join(folder, "media", m))
    return folder


def start_once(s, folder, values, name):
    """Ms from process creation to the visible editor, beyond the splash pause."""
    s.cmd("regclear")
    for k, v in values.items():
        s.cmd("regset", k, "sz", v)
    exe = '"%s"' % harness.winpath(os.path.join(folder, "Tolvane.exe"))
    pid, ms = s.cmd("launchtime", harness.winpath(folder), exe, "TfContenidoTexto").split()
    box = s.cmd("msgbox", pid, 0)
    s.cmd("kill", pid)
    if float(ms) < 0 or box != "0":
        raise RuntimeError("%s: no editor (%s ms), box %s" % (name, ms, box))
    return float(ms) - SPLASH_MS


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=7)
    ap.add_argument("--exe", default=os.path.join(harness.BUILD, "Tolvane.exe"))
    ap.add_argument("--baseline", help="another build, started alternately with this one")
    args = ap.parse_args()
    s = harness.Session.get()
    builds = [("this build", program("bench-startup", args.exe))]
    if args.baseline:
        builds.append(("baseline build", program("bench-startup-baseline", args.baseline)))
    folder = builds[0][1]
    shutil.copy(os.path.join(harness.BUILD, "tvminimal.exe"), folder)
    bare = '"%s"' % harness.winpath(os.path.join(folder, "tvminimal.exe"))
    beyond = {(b, name): [] for b, _ in builds for name, _ in CONFIGS}
    wine = []
    try:
        for i in range(args.runs + 1):
            line = []
            # Each build goes first every other run: neither always meets the other's aftermath.
            order = builds if i % 2 == 0 else list(reversed(builds))
            for name, values in CONFIGS:
                for b, where in order:
                    ms = start_once(s, where, values, name)
                    if i:  # the first round also warms Wine's caches
                        beyond[(b, name)].append(ms)
                    line.append("%s%s %.0f" % (name, "" if len(builds) == 1 else " (%s)" % b, ms))
            bare_pid, bare_ms = s.cmd("launchtime", harness.winpath(folder), bare, "TvMinimal").split()
            s.cmd("kill", bare_pid)
            if i == 0:
                continue
            wine.append(float(bare_ms))
            print("run %d beyond the splash pause, ms: %s; bare window %.0f" % (i, ", ".join(line), wine[-1]),
                  flush=True)
    finally:
        s.close()
    base = statistics.median(wine)
    print("Wine's bare window program, to its window shown: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)" %
          (base, min(wine), max(wine), len(wine)))
    for b, _ in builds:
        for name, _ in CONFIGS:
            v = beyond[(b, name)]
            print("%s: editor shown beyond the splash pause, %-22s median %.1f ms (bare window %+.1f ms), "
                  "min %.1f, max %.1f" % (b, name + ":", statistics.median(v), statistics.median(v) - base,
                                          min(v), max(v)))


if __name__ == "__main__":
    main()

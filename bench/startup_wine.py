"""Start-up figures under Wine: time from process creation to the editor (the
text window) visible, less the fixed 1000 ms splash pause, beside Wine's own
cost for a bare window program (process creation to its window visible), all
in one session, in turn. Prints figures; asserts nothing.

    python3 bench/startup_wine.py [--runs 7] [--exe PATH]

--exe starts another build of the program (a before/after figure, same machine).

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


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=7)
    ap.add_argument("--exe", default=os.path.join(harness.BUILD, "Tolvane.exe"))
    args = ap.parse_args()
    runs = args.runs
    s = harness.Session.get()
    folder = harness.program_folder(os.path.join(harness.WORK, "bench-startup"))
    shutil.copy(args.exe, os.path.join(folder, "Tolvane.exe"))
    # The program's own media, as a user has them (the fixtures are stand-ins of a few bytes).
    for m in harness.MEDIA:
        shutil.copy(os.path.join(harness.BUILD, "media", m), os.path.join(folder, "media", m))
    exe = '"%s"' % harness.winpath(os.path.join(folder, "Tolvane.exe"))
    shutil.copy(os.path.join(harness.BUILD, "tvminimal.exe"), folder)
    bare = '"%s"' % harness.winpath(os.path.join(folder, "tvminimal.exe"))
    beyond = {name: [] for name, _ in CONFIGS}
    wine = []
    try:
        for i in range(runs + 1):
            line = []
            for name, values in CONFIGS:
                s.cmd("regclear")
                for k, v in values.items():
                    s.cmd("regset", k, "sz", v)
                pid, ms = s.cmd("launchtime", harness.winpath(folder), exe, "TfContenidoTexto").split()
                box = s.cmd("msgbox", pid, 0)
                s.cmd("kill", pid)
                if float(ms) < 0 or box != "0":
                    raise RuntimeError("%s: no editor (%s ms), box %s" % (name, ms, box))
                beyond[name].append(float(ms) - SPLASH_MS)
                line.append("%s %.0f" % (name, beyond[name][-1]))
            bare_pid, bare_ms = s.cmd("launchtime", harness.winpath(folder), bare, "TvMinimal").split()
            s.cmd("kill", bare_pid)
            wine.append(float(bare_ms))
            if i == 0:  # the first round also warms Wine's caches
                for v in beyond.values():
                    v.pop()
                wine.pop()
                continue
            print("run %d beyond the splash pause, ms: %s; bare window %.0f" % (i, ", ".join(line), wine[-1]),
                  flush=True)
    finally:
        s.close()
    base = statistics.median(wine)
    print("Wine's bare window program, to its window shown: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)" %
          (base, min(wine), max(wine), len(wine)))
    for name, _ in CONFIGS:
        v = beyond[name]
        print("editor shown beyond the splash pause, %-22s median %.1f ms (bare window %+.1f ms), min %.1f, max %.1f"
              % (name + ":", statistics.median(v), statistics.median(v) - base, min(v), max(v)))


if __name__ == "__main__":
    main()

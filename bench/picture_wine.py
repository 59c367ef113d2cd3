"""What a background picture costs under Wine: a 6000 x 4000 camera-sized photo
beside the default picture, in one Wine session, each started several times
in turn. Prints figures; asserts nothing.

    python3 bench/picture_wine.py [--runs 3] [--toggles 3] [--exe PATH]

For each start: the time from process creation to the visible workspace, the
resident memory once the editor is up, and Ctrl+P off and on (each time until
the key has been handled and the workspace has painted), beside the cost of a
key batch that does nothing (the marker alone). --exe runs another build of
the program (for a before/after figure in the same session).

The photo is made here from a gradient and a fixed-seed grain, compressed by
cjpeg at quality 92 to about the size of a camera's JPEG; it is kept in
build/bench-picture/ for later runs, never committed.
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

HERE = os.path.join(harness.ROOT, "build", "bench-picture")
PHOTO_SIZE = (6000, 4000)


def make_photo(path, width, height):
    """A PPM of a diagonal gradient with grain, row by row from a few hundred grained rows, then cjpeg."""
    rng = random.Random(6000)
    base = bytearray(width * 3)
    for x in range(width):
        base[3 * x:3 * x + 3] = bytes((60 + 150 * x // width, 90 + 80 * x // width, 140 - 60 * x // width))
    rows = []
    for _ in range(256):
        r = bytearray(base)
        for i in range(0, len(r), 1):
            r[i] = max(0, min(255, r[i] + rng.randint(-24, 24)))
        rows.append(bytes(r))
    ppm = path + ".ppm"
    with open(ppm, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        for y in range(height):
            shade = 40 * y // height
            f.write(rows[(y * 7919) % 256].translate(bytes(max(0, c - shade) for c in range(256))))
    subprocess.run(["cjpeg", "-quality", "92", "-outfile", path, ppm], check=True)
    os.remove(ppm)


def median(v):
    return statistics.median(v) if v else float("nan")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--toggles", type=int, default=3)
    ap.add_argument("--exe", default=os.path.join(harness.BUILD, "Tolvane.exe"))
    args = ap.parse_args()

    os.makedirs(HERE, exist_ok=True)
    photo = os.path.join(HERE, "photo-%dx%d.jpg" % PHOTO_SIZE)
    if not os.path.exists(photo):
        make_photo(photo, *PHOTO_SIZE)
    default = os.path.join(harness.BUILD, "media", "fondo.jpg")
    pictures = (("default picture", default), ("6000x4000 photo", photo))
    for name, p in pictures:
        print("%s: %s, %.1f MB" % (name, os.path.basename(p), os.path.getsize(p) / 1e6))

    s = harness.Session.get()
    folder = harness.program_folder(os.path.join(harness.WORK, "bench-picture"))
    shutil.copy(args.exe, os.path.join(folder, "Tolvane.exe"))
    run = harness.Program(s, folder)
    figures = {name: {"start": [], "rss": [], "toggle": [], "nothing": []} for name, _ in pictures}
    try:
        for i in range(args.runs + 1):
            for name, p in pictures:
                s.cmd("regclear")
                s.cmd("regset", "sonido", "sz", "0")
                s.cmd("regset", "fichero_fondo", "sz", harness.winpath(p))
                cmdline = '"%s"' % harness.winpath(os.path.join(folder, "Tolvane.exe"))
                run.pid, ms = s.cmd("launchtime", harness.winpath(folder), cmdline).split()
                try:
                    run.wait_visible("TfContenidoTexto")
                    editor = run.editor()
                    workspace = run.window("TfPrincipal")
                    if run.msgbox(300):
                        raise RuntimeError("a start-up box with " + name)
                    s.cmd("update", workspace)
                    run.settle_ui()
                    rss = int(harness.parse_info(s.cmd("resources", run.pid))["rss"]) / 1024
                    toggles, nothing = [], []
                    run.keys(editor, "")  # focus and the display's focus in place
                    for _ in range(args.toggles):
                        for _ in range(2):  # off, then on
                            t0 = time.perf_counter()
                            run.keys(editor, "^p")
                            s.cmd("update", workspace)
                            toggles.append((time.perf_counter() - t0) * 1000)
                        t0 = time.perf_counter()
                        run.keys(editor, "")
                        s.cmd("update", workspace)
                        nothing.append((time.perf_counter() - t0) * 1000)
                finally:
                    s.cmd("kill", run.pid)
                if i == 0:
                    continue  # the first round warms Wine's caches
                f = figures[name]
                f["start"].append(float(ms))
                f["rss"].append(rss)
                f["toggle"] += toggles
                f["nothing"] += nothing
                print("run %d %-16s: workspace shown %.0f ms, %.1f MB resident, Ctrl+P %s ms (nothing: %s ms)" % (
                    i, name, float(ms), rss, " ".join("%.0f" % t for t in toggles),
                    " ".join("%.0f" % t for t in nothing)), flush=True)
    finally:
        s.close()
    print("medians (%d starts each, %d Ctrl+P each way per start):" % (args.runs, args.toggles))
    for name, _ in pictures:
        f = figures[name]
        off, on = f["toggle"][0::2], f["toggle"][1::2]
        print("  %-16s: workspace shown %.0f ms; %.1f MB resident; Ctrl+P off %.0f ms, on %.0f ms (range %.0f-%.0f); "
              "a key batch doing nothing %.0f ms" % (name, median(f["start"]), median(f["rss"]), median(off),
                                                     median(on), min(on), max(on), median(f["nothing"])))
    d, p = figures[pictures[0][0]], figures[pictures[1][0]]
    print("  photo against default: resident memory %+.0f %%, Ctrl+P on %+.0f %%, off and on %+.0f %%, start %+.0f %%" % (
        100 * (median(p["rss"]) / median(d["rss"]) - 1),
        100 * (median(p["toggle"][1::2]) / median(d["toggle"][1::2]) - 1),
        100 * (median(p["toggle"]) / median(d["toggle"]) - 1), 100 * (median(p["start"]) / median(d["start"]) - 1)))


if __name__ == "__main__":
    main()

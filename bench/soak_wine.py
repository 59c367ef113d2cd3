"""Hours of writing under Wine: the real program, typed into at about 5 keys a
second for a given time, with the status line on, the key click on, the ambient
loop playing (the harness's null ALSA device), the autosave ticking every few
seconds, the panels shown and hidden every minute and a rest window every ten
minutes. Prints figures; asserts nothing.

    python3 bench/soak_wine.py [--minutes 60] [--every 5] [--undo-limit N] [--autosave-ms 5000]
                               [--rest-minutes 10] [--keys-per-second 5]

Every `every` minutes it prints the resident memory, the GDI and USER object
counts (GetGuiResources; "n/a" where the system gives no answer), the kernel
handles (GetProcessHandleCount), the worst round trip through the program's
user-interface thread in that period (watched every 100 ms from a thread of the
driver), the document's length and the autosaves and ambient loop starts seen.
At the end it says which of them grew from the first report to the last.
--undo-limit sets the rich edit's undo depth (EM_SETUNDOLIMIT) after start-up,
to tell its undo list from other growth.
"""
import argparse
import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

EM_SETUNDOLIMIT = 0x0452
WM_GETTEXTLENGTH = 0x000E
WORDS = ("the morning light fell across an empty desk while she wrote of rivers and old roads "
         "nobody had walked for years a letter waited under the lamp and outside the rain kept "
         "its patient count against the window until evening came").split()
REST_SECONDS = 20


def rss_kb_from_proc(folder):
    """VmRSS of the Unix process running this folder's Tolvane.exe, None when not found."""
    exe = os.path.join(folder, "Tolvane.exe")
    win = harness.winpath(exe).lower()
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                cmd = f.read().decode("utf-8", "replace").lower()
            if win not in cmd and exe.lower() not in cmd:
                continue
            with open("/proc/%s/status" % pid) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        return int(line.split()[1])
        except OSError:
            continue
    return None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--minutes", type=float, default=60)
    ap.add_argument("--every", type=float, default=5, help="minutes between reports")
    ap.add_argument("--undo-limit", type=int, default=None)
    ap.add_argument("--autosave-ms", type=int, default=5000)
    ap.add_argument("--rest-minutes", type=int, default=10, help="writing minutes between rests")
    ap.add_argument("--keys-per-second", type=float, default=5)
    args = ap.parse_args()

    s = harness.Session.get()
    folder = harness.program_folder(os.path.join(harness.WORK, "bench-soak"))
    run = harness.Program(s, folder)
    log = os.path.join(folder, "sound.log")
    copy = os.path.join(folder, "tmp", "tolvane.tmp")
    rows = []
    try:
        s.cmd("regclear")
        s.cmd("regset", "minutos", "sz", str(args.rest_minutes))
        s.cmd("regset", "segundos", "sz", str(REST_SECONDS))
        cmdline = '"%s"' % harness.winpath(os.path.join(folder, "Tolvane.exe"))
        run.pid = s.cmd("launchenv", harness.winpath(folder), cmdline, "TOLVANE_TEST_MCI_LOG=" + harness.winpath(log),
                        "TOLVANE_TEST_AUTOSAVE_MS=%d" % args.autosave_ms)
        if not run.pid.isdigit():
            raise RuntimeError("launch: " + run.pid)
        run.wait_visible("TfContenidoTexto")
        editor = run.editor()
        box = run.msgbox(500)
        if box:
            raise RuntimeError("a start-up box: %r" % (box,))
        bar = s.cmd("child", run.window("TfContenidoTexto"), "msctls_statusbar32")
        end = time.time() + 5
        while run.info(bar)["visible"] != "0" and time.time() < end:  # the first tick hides it
            time.sleep(0.05)
        run.keys(editor, "^l")
        if run.info(bar)["visible"] != "1":
            raise RuntimeError("the status line did not come on")
        if args.undo_limit is not None:
            s.cmd("send", editor, EM_SETUNDOLIMIT, args.undo_limit)
        s.cmd("stallwatch", s.cmd("find", "TfPrincipal", run.pid))
        print("soak: %.0f minutes at %.0f keys a second, reports every %.0f minutes; autosave every %d ms; rest every %d minutes for %d s%s"
              % (args.minutes, args.keys_per_second, args.every, args.autosave_ms, args.rest_minutes, REST_SECONDS,
                 "" if args.undo_limit is None else "; undo limit %d" % args.undo_limit), flush=True)
        first = rss_kb_from_proc(folder)
        r0 = harness.parse_info(s.cmd("resources", run.pid))
        print("cross-check of resident memory at start: /proc %s KB, working set from Wine %s KB" % (first, r0["rss"]))
        gdi_source, user_source, handle_source = "GetGuiResources", "GetGuiResources", "GetProcessHandleCount"
        print("%6s %8s %6s %6s %8s %10s %8s %9s %6s %6s" % ("minute", "RSS MB", "GDI", "USER", "handles", "stall ms",
                                                           "chars", "autosaves", "loops", "rests"), flush=True)

        rng = random.Random(22)
        start = time.time()
        next_report, next_panels = start + args.every * 60, start + 60
        worst, saves, last_mtime, rests, keys, resting = 0, 0, None, 0, 0, 0.0
        main_window = s.cmd("find", "TfPrincipal", run.pid)
        while True:
            now = time.time()
            rest = s.cmd("find", "TfDescanso", run.pid)
            if rest != "0" and run.info(rest)["visible"] == "1":
                rests += 1
                began = time.time()
                while run.info(rest)["visible"] == "1":
                    if time.time() > began + REST_SECONDS + 30:
                        raise RuntimeError("the rest window did not close by itself")
                    time.sleep(0.2)
                resting += time.time() - began  # no typing meanwhile: the pace leaves it out
                continue
            if now >= next_panels:
                next_panels += 60
                run.onto_workspace()
                x, y, w, h = run.rect(run.window("TfContenidoTexto"))
                run.point(x + w // 2, y + h // 2)
            # One word a batch, paced to 5 keys a second overall; a new paragraph now and then.
            ahead = keys / args.keys_per_second - (now - start - resting)
            if ahead > 0:
                time.sleep(ahead)
            word = rng.choice(WORDS) + " "
            ops = [["type", "--delay", str(max(10, int(500 / args.keys_per_second))), word]]
            if rng.random() < 0.06:
                ops.append(["key", "Return"])
            r = s.cmd("focus", editor)
            if r != "done":
                # A rest window that came up between the check and the keys holds the focus.
                time.sleep(0.2)
                continue
            s.x_focus_on(editor)
            s.input(ops, settle=editor)
            keys += len(word) + (len(ops) - 1)
            if os.path.exists(copy):
                m = os.path.getmtime(copy)
                if m != last_mtime:
                    saves, last_mtime = saves + 1, m
            if now >= next_report or now - start >= args.minutes * 60:
                res = harness.parse_info(s.cmd("resources", run.pid))
                # Where the system gives no count: the program's own owners for GDI objects,
                # its windows for USER objects, the system's handle list for kernel handles.
                if int(res["gdi"]) <= 0:
                    res["gdi"] = s.cmd("liveobjects", main_window)
                    gdi_source = "the program's owners"
                if int(res["user"]) <= 0:
                    res["user"] = s.cmd("windows", run.pid)
                    user_source = "its windows"
                if int(res["handles"]) <= 0:
                    res["handles"] = s.cmd("handles", run.pid)
                    handle_source = "the system handle list"
                stall_us, _ = (int(v) for v in s.cmd("stall").split())
                worst = max(worst, stall_us)
                loops = 0
                if os.path.exists(log):
                    with open(log, "rb") as f:
                        loops = sum(1 for line in f if line.startswith(b"MCI_PLAY"))
                rss = rss_kb_from_proc(folder) or int(res["rss"])
                row = dict(minute=(now - start) / 60, rss=rss / 1024, gdi=int(res["gdi"]), user=int(res["user"]),
                           handles=int(res["handles"]), stall=stall_us / 1000,
                           chars=int(s.cmd("send", editor, WM_GETTEXTLENGTH)), saves=saves, loops=loops, rests=rests)
                rows.append(row)

                def shown(v):
                    return "n/a" if v < 0 else str(v)
                print("%6.1f %8.1f %6s %6s %8s %10.1f %8d %9d %6d %6d" % (
                    row["minute"], row["rss"], shown(row["gdi"]), shown(row["user"]), shown(row["handles"]),
                    row["stall"], row["chars"], row["saves"], row["loops"], row["rests"]), flush=True)
                next_report += args.every * 60
                if now - start >= args.minutes * 60:
                    break
        print("counted from: GDI %s, USER %s, kernel handles %s" % (gdi_source, user_source, handle_source))
        print("keys typed: %d in %.1f minutes (%.1f a second); worst stall %.1f ms"
              % (keys, (time.time() - start) / 60, keys / (time.time() - start), worst / 1000))
        if len(rows) >= 2:
            a, b = rows[0], rows[-1]
            for name, unit in (("rss", "MB"), ("gdi", ""), ("user", ""), ("handles", "")):
                if a[name] < 0:
                    print("%-8s no answer from the system" % name)
                    continue
                grew = b[name] - a[name]
                per_char = grew * (1024 * 1024 if unit else 1) / max(1, b["chars"] - a["chars"])
                print("%-8s %s: %.1f -> %.1f %s from minute %.0f to %.0f (%+.1f, %.1f %s a typed character)"
                      % (name, "grew" if grew > (1 if unit else 0) else "steady", a[name], b[name], unit,
                         a["minute"], b["minute"], grew, per_char, "bytes" if unit else "objects"))
    finally:
        if run.pid:
            s.cmd("kill", run.pid)
        s.close()


if __name__ == "__main__":
    main()

"""Cost of one key event under Wine, key click on and off. Prints figures;
asserts nothing.

In the real program: the driver sends WM_KEYDOWN and WM_CHAR to the editor and
times until both handlers have returned. Each sent message also pays a round
trip between the driver and the program, measured alone with WM_NULL and taken
off. Keys come back to back (every click cuts off the one before) or 50 ms
apart (fast typing: the click before has ended).

In one process (keyclick_bench.exe): the click request alone, and a key event
on a rich edit control that clicks in its character handler, without the
round trips.

    python3 bench/keyclick_wine.py [keys per run]

Two sound set-ups: no sound device at all (the usual Xvfb machine) and a null
ALSA device, on which Wine really plays each click and a new one cuts off the
one before.
"""
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

FIELDS = re.compile(r"(\w+)=([-\d.e]+)")


def parse(reply):
    key, roundtrip = reply.split("|")
    return ({k: float(v) for k, v in FIELDS.findall(key)}, {k: float(v) for k, v in FIELDS.findall(roundtrip)})


def launch(s, folder, audio):
    exe = harness.winpath(os.path.join(folder, "Tolvane.exe"))
    if not audio:
        return s.cmd("launch", harness.winpath(folder), '"%s"' % exe)
    # Wine gives a program's Unix side the environment of its Unix parent: start it from a shell.
    conf = alsa_null(folder)
    shell = "cd '%s' && exec '%s' '%s'" % (folder, harness.WINE, os.path.join(folder, "Tolvane.exe"))
    s.cmd("launchenv", harness.winpath(folder), 'Z:\\bin\\sh -c "%s"' % shell, "ALSA_CONFIG_PATH=" + conf)
    h = s.cmd("waitvisible", "TfPrincipal", 0, 15000)
    return s.cmd("pidof", h)


def alsa_null(folder):
    conf = os.path.join(folder, "alsa.conf")
    with open(conf, "w") as f:
        f.write("</usr/share/alsa/alsa.conf>\npcm.!default { type null }\n")
    return conf


def in_process(s, folder, audio, keys):
    env = dict(s.env)
    if audio:
        env["ALSA_CONFIG_PATH"] = alsa_null(folder)
    exe = os.path.join(harness.BUILD, "keyclick_bench.exe")
    wav = harness.winpath(os.path.join(harness.FIXTURES, "click.wav"))
    r = subprocess.run(harness.WINE_CMD + [exe, wav, str(keys)], env=env, capture_output=True, text=True, timeout=300)
    return r.stdout.strip().splitlines() or ["keyclick_bench failed: " + r.stderr.strip()[-300:]]


def measure(s, folder, click, audio, keys):
    s.cmd("regclear")
    s.cmd("regset", "sonido", "sz", "0")  # no ambient sound: its MCI message would stand in the way
    s.cmd("regset", "sonido_teclado", "sz", "1" if click else "0")
    pid = launch(s, folder, audio)
    try:
        text = s.cmd("waitvisible", "TfContenidoTexto", pid, 15000)
        if text == "0":
            raise RuntimeError("the text window did not show")
        editor = s.cmd("child", text, "RICHEDIT50W")
        s.cmd("focus", editor)
        s.input(harness.key_ops("w"), settle=editor)  # activates the text window, which loads the click
        time.sleep(0.3)
        s.cmd("keycost", editor, 50)  # warm-up
        return [parse(s.cmd("keycost", editor, keys)), parse(s.cmd("keycost", editor, max(20, keys // 4), 50))]
    finally:
        s.cmd("kill", pid)


def main():
    keys = int(sys.argv[1]) if len(sys.argv) > 1 else 400
    s = harness.Session.get()
    folder = harness.program_folder(os.path.join(harness.WORK, "bench-keyclick"))
    try:
        for audio in (False, True):
            for click in (True, False):
                for (key, rt), pace in zip(measure(s, folder, click, audio, keys), ("back to back", "50 ms apart")):
                    net = {k: key[k] - 2 * rt["median"] for k in ("median", "mean", "p95")}
                    print("%-16s click %-3s %-12s: key event %.0f us median, %.0f us p95 (sent); round trip %.0f us;"
                          " handlers %.0f us median, %.0f us mean, %.0f us p95"
                          % ("null ALSA device" if audio else "no sound device", "on" if click else "off", pace,
                             key["median"], key["p95"], rt["median"], net["median"], net["mean"], net["p95"]))
            for line in in_process(s, folder, audio, keys):
                print("%-16s in one process: %s" % ("null ALSA device" if audio else "no sound device", line))
    finally:
        s.close()


if __name__ == "__main__":
    main()

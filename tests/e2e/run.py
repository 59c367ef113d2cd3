"""Runs the end-to-end test modules and prints the summary line.

With no module names and TOLVANE_E2E_JOBS above 1 (3 by default) the modules
are shared out among that many workers, each with its own Xvfb display, Wine
prefix and work folder, so a slow Wine wait in one does not hold up the rest.
"""
import glob
import importlib
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

# Rough run time of each module in seconds, for sharing them out evenly.
WEIGHT = {"test_sound_rest": 185, "test_configuration": 67, "test_panels": 64, "test_startup": 55,
          "test_documents": 160, "test_languages": 40, "test_package": 30,
          "test_dpi": 60, "test_look": 30, "test_installer": 25, "test_spanish": 60, "test_run_command": 30,
          "test_recovery": 90}


def modules_named(only):
    names = sorted(os.path.basename(p)[:-3] for p in glob.glob(os.path.join(HERE, "test_*.py")))
    return [n for n in names if not only or n in only]


def run_workers(names, jobs):
    from harness import WORK
    shares = [[] for _ in range(jobs)]
    for n in sorted(names, key=lambda n: -WEIGHT.get(n, 60)):
        min(shares, key=lambda s: sum(WEIGHT.get(x, 60) for x in s)).append(n)
    # Several runs on one machine keep apart when each is given its own base.
    base = int(os.environ.get("TOLVANE_E2E_DISPLAY_BASE", "90"))
    procs = []
    for k, share in enumerate(s for s in shares if s):
        env = dict(os.environ, TOLVANE_E2E_WORK=os.path.join(WORK, "w%d" % k),
                   TOLVANE_E2E_DISPLAY_BASE=str(base + 20 * k))
        log = open(os.path.join(WORK, "w%d.log" % k), "w+")
        procs.append((subprocess.Popen([sys.executable, __file__, "--worker"] + share, env=env, stdout=log,
                                       stderr=subprocess.STDOUT), log))
    passed = failed = 0
    for p, log in procs:
        p.wait()
        log.seek(0)
        out = log.read()
        sys.stdout.write(out)
        m = re.search(r"^e2e: (\d+) passed, (\d+) failed", out, re.M)
        if m:
            passed += int(m.group(1))
            failed += int(m.group(2))
        if p.returncode != 0 and not (m and int(m.group(2))):
            failed += 1  # a worker that broke down before its summary
    print("e2e: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and passed > 0 else 1


def main(args):
    worker = bool(args) and args[0] == "--worker"
    if worker:
        args = args[1:]
    names = modules_named(args)
    jobs = int(os.environ.get("TOLVANE_E2E_JOBS", "3"))
    if not worker and not args and jobs > 1:
        os.makedirs(__import__("harness").WORK, exist_ok=True)
        return run_workers(names, jobs)
    from harness import run_all
    return run_all([importlib.import_module(n) for n in names])


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

"""Large documents under Wine: runs large_docs_bench.exe on its own virtual
display and Wine prefix and prints its figures. Asserts nothing.

    python3 bench/large_docs_wine.py [--reference] [--probe] [--no-baseline] [--clear-up-to=KB] [KB ...]

Default sizes: 100 KB, 1 MB and 10 MB, each as .txt and .rtf.
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402


def main():
    s = harness.Session.get()
    exe = os.path.join(harness.BUILD, "large_docs_bench.exe")
    try:
        proc = subprocess.Popen(harness.WINE_CMD + [exe] + sys.argv[1:], env=s.env, stdout=subprocess.PIPE, text=True)
        try:
            for line in proc.stdout:
                print(line, end="", flush=True)
            proc.wait(timeout=60)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
    finally:
        s.close()


if __name__ == "__main__":
    main()

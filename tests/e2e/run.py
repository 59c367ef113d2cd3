"""Runs every end-to-end test module and prints the summary line."""
import glob
import importlib
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import run_all  # noqa: E402

names = sorted(os.path.basename(p)[:-3] for p in glob.glob(os.path.join(os.path.dirname(__file__), "test_*.py")))
only = sys.argv[1:]
modules = [importlib.import_module(n) for n in names if not only or n in only]
sys.exit(run_all(modules))

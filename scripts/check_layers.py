#!/usr/bin/env python3
"""Fails when a file of src/ includes a folder its layer may not include.

The table below lists the Win32 folders bottom to top, each with the folders it
may include besides itself. Run by scripts/test before the unit tests."""
import pathlib
import re
import sys

ALLOWED = {
    "widgets": set(),
    "i18n": {"widgets"},
    "sound": {"widgets", "i18n"},
    "settings": {"widgets", "i18n"},
    "text": {"widgets", "i18n", "sound", "settings"},
    "rest": {"widgets", "i18n", "settings"},
    "commands": {"widgets", "i18n"},
    "workspace": {"widgets", "i18n", "sound", "settings", "text", "rest", "commands"},
    "app": {"widgets", "i18n", "sound", "settings", "text", "rest", "commands", "workspace"},
}
# The portable cores (<folder>/core) include their own core and widgets/core
# only; above widgets, any Win32 file may include any core, as no core
# includes a Win32 header.
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^/"]+)/([^"]*)"', re.M)
# Handles are released by their owners in widgets/Handles.h, nowhere else.
RELEASE = re.compile(r'\b(DeleteObject|DeleteDC|ReleaseDC|CloseHandle|RegCloseKey|UnmapViewOfFile|LocalFree|'
                     r'GlobalDeleteAtom|UnhookWindowsHookEx|FindClose)\s*\(')
OWNERS = "widgets/Handles.h"


def problems(src):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        parts = path.relative_to(src).parts
        folder, in_core = parts[0], len(parts) > 2 and parts[1] == "core"
        if folder not in ALLOWED:
            yield f"{path}: folder {folder}/ is not in the layer table of {__file__}"
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        if "/".join(parts) != OWNERS:
            for call in sorted(set(RELEASE.findall(text))):
                yield f"{path}: {call} outside {OWNERS}: hold the handle in one of its owners"
        for target, rest in INCLUDE.findall(text):
            to_core = rest.startswith("core/")
            if target == folder and (to_core or not in_core):
                continue
            if in_core:
                ok = to_core and target == "widgets"
            elif to_core:
                ok = folder != "widgets" and target in ALLOWED
            else:
                ok = target in ALLOWED[folder]
            if not ok:
                yield f"{path}: {folder}{'/core' if in_core else ''} may not include {target}/{rest}"


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent / "src")
    found = list(problems(src))
    for p in found:
        print(p)
    print(f"layers: {len(found)} include(s) against the table" if found else "layers: every include follows the table; handles are released by their owners only")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

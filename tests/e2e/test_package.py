"""The portable package: what the ZIP holds, and the program started from a folder unzipped from it."""
import ast
import os
import re
import shutil
import struct
import subprocess
import tempfile
import time
import unittest
import zipfile

from harness import BUILD, ROOT, WORK, TolvaneCase

# Spaces and letters outside ASCII, as in many users' folders.
UNZIP_TO = os.path.join(WORK, "package", "Écrits d'été", "Tolvane Ünïcode ñ")


# The Spanish catalogs, where the program looks for them, and their sources.
CATALOGS = {"locale/es/LC_MESSAGES/default.mo": "po/es.po",
            "locale/es/LC_MESSAGES/tolvane-widgets.mo": "po/widgets/es.po"}


def package_path():
    with open(os.path.join(ROOT, "CMakeLists.txt")) as f:
        version = re.search(r"project\(Tolvane VERSION ([0-9.]+)", f.read()).group(1)
    return os.path.join(BUILD, "Tolvane-%s-win64.zip" % version)


def open_package(test):
    path = package_path()
    test.assertTrue(os.path.exists(path), "no package %s: run scripts/package" % path)
    return zipfile.ZipFile(path)


def mo_entries(data):
    """original -> translation of a little-endian GNU .mo image."""
    magic, _, n, originals, translations = struct.unpack("<5I", data[:20])
    assert magic == 0x950412DE
    def text(table, i):
        length, at = struct.unpack("<II", data[table + 8 * i:table + 8 * i + 8])
        return data[at:at + length].decode("utf-8")
    return {text(originals, i): text(translations, i) for i in range(n)}


def po_entries(path):
    """msgid -> msgstr of a .po file (no plural forms, as ours have none), the header left out."""
    entries, current, field = {}, {}, None

    def flush():
        if current.get("msgid"):
            entries[current["msgid"]] = current["msgstr"]
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            m = re.match(r'^(msgid|msgstr) (".*")$', line)
            if m:
                if m.group(1) == "msgid":
                    flush()
                    current = {"msgid": "", "msgstr": ""}
                field = m.group(1)
                current[field] += ast.literal_eval(m.group(2))
            elif line.startswith('"') and field:
                current[field] += ast.literal_eval(line)
            else:
                field = None
    flush()
    return entries


def mp3_seconds(data):
    """Length of a constant-bit-rate MPEG-1 layer III stream, from its first frame header."""
    i = 10 + ((data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9]) if data[:3] == b"ID3" else 0
    header = struct.unpack(">I", data[i:i + 4])[0]
    assert header >> 21 == 0x7FF and (header >> 19) & 3 == 3 and (header >> 17) & 3 == 1, "not MPEG-1 layer III"
    kbps = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320][(header >> 12) & 15]
    return (len(data) - i) * 8 / (kbps * 1000)


def wav_format(data):
    """(format tag, channels, rate, seconds) of a RIFF WAVE file."""
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE"
    i, fmt, seconds = 12, None, None
    while i + 8 <= len(data):
        cid, size = data[i:i + 4], struct.unpack("<I", data[i + 4:i + 8])[0]
        if cid == b"fmt ":
            fmt = struct.unpack("<HHII", data[i + 8:i + 20])
        elif cid == b"data" and fmt:
            seconds = size / fmt[3]
        i += 8 + size + (size & 1)
    return fmt[0], fmt[1], fmt[2], seconds


def jpeg_size(data):
    """(width, height) from the frame header of a JPEG file."""
    assert data[:2] == b"\xff\xd8"
    i = 2
    while i < len(data):
        marker, length = data[i + 1], struct.unpack(">H", data[i + 2:i + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            h, w = struct.unpack(">HH", data[i + 5:i + 9])
            return w, h
        i += 2 + length
    raise AssertionError("no frame header")


class PackageContentsTest(unittest.TestCase):
    def test_zip_holds_the_program_folder_with_an_empty_tmp(self):
        with open_package(self) as z:
            entries = {i.filename: i for i in z.infolist()}
        self.assertEqual(set(entries) - {"media/", "locale/", "locale/es/", "locale/es/LC_MESSAGES/"},
                         {"Tolvane.exe", "README.txt", "LICENSE.txt", "media/sonido.mp3", "media/click.wav",
                          "media/fondo.jpg", "tmp/"} | set(CATALOGS))
        self.assertTrue(entries["tmp/"].is_dir(), "tmp/ is a folder entry")
        self.assertFalse([n for n in entries if n.startswith("tmp/") and n != "tmp/"], "tmp/ is empty")

    def test_catalogs_are_the_spanish_sources_compiled(self):
        with open_package(self) as z:
            for name, source in CATALOGS.items():
                with self.subTest(catalog=name):
                    shipped = mo_entries(z.read(name))
                    self.assertIn("charset=UTF-8", shipped.pop(""))
                    self.assertEqual(shipped, po_entries(source))

    def test_media_are_the_generated_ones(self):
        with open_package(self) as z:
            mp3, wav, jpg = (z.read("media/" + n) for n in ("sonido.mp3", "click.wav", "fondo.jpg"))
            exe, licence, readme = z.read("Tolvane.exe"), z.read("LICENSE.txt"), z.read("README.txt")
        self.assertLess(len(mp3), 3_000_000)
        self.assertTrue(60 <= mp3_seconds(mp3) <= 180, "ambient loop of %.1f s" % mp3_seconds(mp3))
        tag, channels, rate, seconds = wav_format(wav)
        self.assertEqual(tag, 1, "PCM")
        self.assertTrue(0.01 <= seconds <= 0.2, "click of %.3f s" % seconds)
        self.assertLess(len(wav), 50_000)
        w, h = jpeg_size(jpg)
        self.assertTrue(w >= 1920 and h >= 1080, "picture of %dx%d" % (w, h))
        self.assertEqual(exe[:2], b"MZ")
        self.assertIn(b"Virelo", licence)
        for key in (b"Ctrl+S", b"Ctrl+Q", b"Ctrl+H", b"tmp\\tolvane.tmp", b"Software\\Virelo\\Tolvane"):
            self.assertIn(key, readme)
        self.assertIn(b"\r\n", readme, "Windows line ends")


class PlatformDeclarationsTest(unittest.TestCase):
    def test_the_program_declares_long_paths_windows_10_and_imports_no_dll_a_folder_could_plant(self):
        with open_package(self) as z:
            exe, readme = z.read("Tolvane.exe"), z.read("README.txt")
        start = exe.index(b"<assembly")
        manifest = exe[start:exe.index(b"</assembly>", start)].decode()
        self.assertRegex(manifest, r"<longPathAware[^>]*>true</longPathAware>")
        self.assertRegex(manifest, r"<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>")
        self.assertEqual(re.findall(r'supportedOS Id="([^"]+)"', manifest), ["{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"])
        self.assertIn(b"Windows 10, version 1607", readme)
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "Tolvane.exe")
            with open(path, "wb") as f:
                f.write(exe)
            dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True, text=True,
                                  check=True, timeout=60).stdout
        imported = {m.lower() for m in re.findall(r"DLL Name: (\S+)", dump)}
        # Loaded before the program's first line, from the program folder first unless the system
        # knows them: only KnownDLLs, and comctl32 through the manifest.
        self.assertEqual(imported & {"winmm.dll", "version.dll", "msimg32.dll", "msftedit.dll", "riched20.dll"}, set())
        self.assertTrue(imported <= {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
                                     "msvcrt.dll", "shell32.dll", "user32.dll"}, imported)


def decode_jpeg(path):
    """(width, height, rgb bytes) of a JPEG file, through djpeg."""
    ppm = subprocess.run(["djpeg", "-pnm", path], capture_output=True, check=True, timeout=60).stdout
    magic, dims, maxval, pixels = ppm.split(b"\n", 3)
    assert magic == b"P6" and maxval == b"255"
    w, h = map(int, dims.split())
    return w, h, pixels


def picture_colour(picture, x, y, screen_w, screen_h):
    """The picture's mean colour around the point that the stretch puts at screen (x, y)."""
    w, h, px = picture
    cx, cy = int((x + 0.5) * w / screen_w), int((y + 0.5) * h / screen_h)
    sums, n = [0, 0, 0], 0
    for yy in range(max(0, cy - 2), min(h, cy + 3)):
        for xx in range(max(0, cx - 2), min(w, cx + 3)):
            i = (yy * w + xx) * 3
            for c in range(3):
                sums[c] += px[i + c]
            n += 1
    return tuple(s // n for s in sums)


def assert_workspace_and_picture(case, folder):
    """The workspace fills the screen and the folder's picture, stretched over it, shows around the
    text window: sky, mist and hills. Returns the editor."""
    ws = case.info(case.window("TfPrincipal"))
    case.assertEqual(ws["visible"], "1")
    screen_w, screen_h = map(int, case.s.cmd("screen").split())
    case.assertEqual((ws["x"], ws["y"], ws["w"], ws["h"]), ("0", "0", str(screen_w), str(screen_h)))
    tx, ty, tw, th = case.rect(case.window("TfContenidoTexto"))
    editor = case.editor()
    case.point(tx + tw // 2, ty + th // 2)  # on the text: the panels stay hidden
    picture = decode_jpeg(os.path.join(folder, "media", "fondo.jpg"))
    points = [(20, 20), (screen_w // 2, ty // 2), (screen_w - 20, 20),
              (10, ty + th // 2), (screen_w - 10, ty + th // 2),
              (20, screen_h - 20), (screen_w // 2, (ty + th + screen_h) // 2), (screen_w - 20, screen_h - 10)]
    case.assertTrue(all(y < ty or y >= ty + th or x < tx or x >= tx + tw for x, y in points))
    expected = [picture_colour(picture, x, y, screen_w, screen_h) for x, y in points]
    for colour in expected:
        case.assertLess(max(colour), 240, "the picture's colour is far from the default white")

    def off_by(screen):
        got = [screen.pixel(x, y) for x, y in points]
        got = [tuple(int(g[i:i + 2], 16) for i in (0, 2, 4)) for g in got]
        return got, max(abs(a - b) for g, e in zip(got, expected) for a, b in zip(g, e))

    got, diff = case.drawn(off_by, lambda seen: seen[1] <= 12, 5000)
    case.assertLessEqual(diff, 12, "screen %s, picture %s" % (got, expected))
    return editor


def assert_autosave_copy(case, folder):
    """The first autosave tick writes an RTF copy into tmp\\ of the program folder."""
    copy = os.path.join(folder, "tmp", "tolvane.tmp")
    end = time.time() + 10
    while not os.path.exists(copy) and time.time() < end:
        time.sleep(0.1)
    case.assertTrue(os.path.exists(copy), "no autosave copy in tmp\\")
    with open(copy, "rb") as f:
        case.assertTrue(f.read().startswith(b"{\\rtf"), "an RTF copy")


class UnzippedProgramTest(TolvaneCase):
    def setUp(self):
        from harness import Session
        self.s = Session.get()
        shutil.rmtree(os.path.dirname(UNZIP_TO), ignore_errors=True)
        with open_package(self) as z:
            z.extractall(UNZIP_TO)
        self.dir = UNZIP_TO
        self.s.cmd("regclear")  # a first start: every setting at its default
        self.pid = None

    def test_starts_from_a_folder_with_spaces_and_accents(self):
        self.start()
        # Without a sound device the ambient player reports an MCI error; no other box may come
        # (a missing medium, an autosave path that cannot be written).
        end = time.time() + 30
        while self.s.cmd("waitvisible", "TfContenidoTexto", self.pid, 200) == "0":
            box = self.msgbox(200)
            if box:
                self.assertIn("MCI", box[2])
                self.answer(box)
            self.assertLess(time.time(), end, "no text window")
        self.assertIsNone(self.msgbox(300))

        editor = assert_workspace_and_picture(self, UNZIP_TO)
        self.keys(editor, "Hola")
        self.assertEqual(self.editor_text(editor, "Hola"), "Hola")

        assert_autosave_copy(self, UNZIP_TO)

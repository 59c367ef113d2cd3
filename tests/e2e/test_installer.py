"""The per-user installer: a silent install into the test run's fresh prefix, the installed program
started from its Start-menu shortcut with a document, and a silent uninstall."""
import os
import shutil
import struct

from harness import WORK, TolvaneCase, unescape, winpath
from test_package import CATALOGS, assert_autosave_copy, assert_workspace_and_picture, package_path

CLASSES = "Software\\Classes"
APP_KEY = CLASSES + "\\Applications\\Tolvane.exe"
PROGID_KEY = CLASSES + "\\Tolvane.Document"
UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvane"
SETTINGS_KEY = "Software\\Virelo\\Tolvane"
# Another program's registrations for .txt, which the installer must leave as they are.
OTHER_DEFAULT, OTHER_PROGID = "Other.TextFile", "Other.Editor"

INSTALLED = {"Tolvane.exe", "Uninstall.exe", "README.txt", "LICENSE.txt", "media/sonido.mp3", "media/click.wav",
             "media/fondo.jpg"} | set(CATALOGS)
DOCUMENT = b"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Hola desde el instalador\\par}"


def installer_path():
    return package_path().replace("-win64.zip", "-setup.exe")


def shell_link(data):
    """(target, working folder, arguments) of a shell link (.lnk) file."""
    flags = struct.unpack("<I", data[20:24])[0]
    assert data[:4] == b"\x4c\0\0\0", "not a shell link"
    i = 76
    if flags & 0x1:  # HasLinkTargetIDList
        i += 2 + struct.unpack("<H", data[i:i + 2])[0]
    target = None
    if flags & 0x2:  # HasLinkInfo
        size, _, info_flags, _, base_at, _, suffix_at = struct.unpack("<7I", data[i:i + 28])
        if info_flags & 1:
            def cstr(at):
                return data[i + at:data.index(b"\0", i + at)].decode("mbcs" if os.name == "nt" else "cp1252")
            target = cstr(base_at) + cstr(suffix_at)
        i += size
    unicode = flags & 0x80
    strings = {}
    for bit, name in ((0x4, "name"), (0x8, "relative"), (0x10, "workdir"), (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            n = struct.unpack("<H", data[i:i + 2])[0]
            width = 2 if unicode else 1
            raw = data[i + 2:i + 2 + n * width]
            # Wine counts and writes a terminating NUL, which the format does not have.
            strings[name] = raw.decode("utf-16-le" if unicode else "cp1252").rstrip("\0")
            i += 2 + n * width
    return target, strings.get("workdir"), strings.get("arguments", "")


class InstallerTest(TolvaneCase):
    def setUp(self):
        from harness import Session
        self.s = Session.get()
        self.pid = None
        self.s.cmd("regclear")  # a first start: every setting at its default
        self.target = unescape(self.s.cmd("expand", "%LOCALAPPDATA%\\Programs\\Tolvane"))
        self.shortcut = unescape(self.s.cmd("expand", "%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs"
                                                      "\\Tolvane.lnk"))
        self.dir = self.unix(self.target)
        shutil.rmtree(self.dir, ignore_errors=True)
        self.docs = os.path.join(WORK, "installer documents")
        shutil.rmtree(self.docs, ignore_errors=True)
        os.makedirs(self.docs)

    def unix(self, path):
        """Where a path on the prefix's drive C: lies on this machine."""
        self.assertTrue(path.upper().startswith("C:\\"), path)
        return os.path.join(self.s.env["WINEPREFIX"], "drive_c", *path[3:].split("\\"))

    def run_silently(self, exe, *args):
        """Runs a setup program with /S and waits until it and what it started have ended."""
        cmd = '"%s" /S' % exe + "".join(" " + a for a in args)
        self.assertEqual(self.s.cmd("runtree", "C:\\", cmd, 120000, timeout=150), "0", cmd)

    def installed_files(self):
        found = set()
        for folder, _, files in os.walk(self.dir):
            for f in files:
                found.add(os.path.relpath(os.path.join(folder, f), self.dir).replace(os.sep, "/"))
        return found

    def hkcu(self, key, value=""):
        return unescape(self.s.cmd("hkcu", key, value))

    def test_silent_install_open_a_document_and_silent_uninstall(self):
        setup = installer_path()
        self.assertTrue(os.path.exists(setup), "no installer %s: run scripts/package" % setup)
        self.assertLess(os.path.getsize(setup), 4_000_000)
        self.assertEqual(self.s.cmd("hkcuset", CLASSES + "\\.txt", "", OTHER_DEFAULT), "done")
        self.assertEqual(self.s.cmd("hkcuset", CLASSES + "\\.txt\\OpenWithProgids", OTHER_PROGID, ""), "done")
        self.run_silently(winpath(setup))

        # The program folder as the zip has it, with the uninstaller and an empty tmp\.
        self.assertEqual(self.installed_files(), INSTALLED)
        self.assertTrue(os.path.isdir(os.path.join(self.dir, "tmp")))
        exe = self.target + "\\Tolvane.exe"
        with open(self.unix(self.shortcut), "rb") as f:
            target, workdir, arguments = shell_link(f.read())
        self.assertEqual((target.lower(), workdir.lower(), arguments), (exe.lower(), self.target.lower(), ""))

        open_command = '"%s" "%%1"' % exe
        expected = [
            (APP_KEY + "\\shell\\open\\command", "", "sz " + open_command),
            (APP_KEY + "\\SupportedTypes", ".rtf", "sz "), (APP_KEY + "\\SupportedTypes", ".txt", "sz "),
            (PROGID_KEY + "\\shell\\open\\command", "", "sz " + open_command),
            (PROGID_KEY + "\\DefaultIcon", "", "sz %s,0" % exe),
            (CLASSES + "\\.rtf\\OpenWithProgids", "Tolvane.Document", "sz "),
            (CLASSES + "\\.txt\\OpenWithProgids", "Tolvane.Document", "sz "),
            # Listed, never made the default: .rtf has none of ours, .txt keeps the other program's.
            (CLASSES + "\\.rtf", "", "MISSING"),
            (CLASSES + "\\.txt", "", "sz " + OTHER_DEFAULT),
            (CLASSES + "\\.txt\\OpenWithProgids", OTHER_PROGID, "sz "),
            (UNINSTALL_KEY, "DisplayName", "sz Tolvane"),
            (UNINSTALL_KEY, "DisplayVersion", "sz " + os.path.basename(setup).split("-")[1]),
            (UNINSTALL_KEY, "Publisher", "sz Virelo"),
            (UNINSTALL_KEY, "DisplayIcon", "sz %s,0" % exe),
            (UNINSTALL_KEY, "InstallLocation", "sz " + self.target),
            (UNINSTALL_KEY, "UninstallString", 'sz "%s\\Uninstall.exe"' % self.target),
            (UNINSTALL_KEY, "QuietUninstallString", 'sz "%s\\Uninstall.exe" /S' % self.target),
        ]
        for key, value, want in expected:
            with self.subTest(key=key, value=value):
                self.assertEqual(self.hkcu(key, value), want)
        self.assertTrue(self.hkcu(UNINSTALL_KEY, "EstimatedSize").startswith("dword "))
        # What Explorer and Apps & features show of the program and of the installer itself.
        version = os.path.basename(setup).split("-")[1]
        for exe_path in (exe, winpath(setup)):
            with self.subTest(version_of=exe_path):
                self.assertEqual(unescape(self.s.cmd("fileversion", exe_path)), version + " Tolvane|Virelo")

        # Started as the Start menu starts it, with a document: workspace, picture, text, autosave copy.
        document = os.path.join(self.docs, "Carta de prueba.rtf")
        with open(document, "wb") as f:
            f.write(DOCUMENT)
        self.pid = self.s.cmd("launch", workdir, '"%s" "%s"' % (target, winpath(document)))
        self.assertTrue(self.pid.isdigit(), self.pid)
        self.wait_visible("TfContenidoTexto")
        self.assertIsNone(self.msgbox(300), "no box at start-up")
        editor = assert_workspace_and_picture(self, self.dir)
        self.assertEqual(self.editor_text(editor, "Hola desde el instalador"), "Hola desde el instalador")
        assert_autosave_copy(self, self.dir)
        self.keys(editor, "^q")  # unchanged: it ends without asking
        self.assertEqual(self.exit_code(), "0")
        self.assertNotEqual(self.s.cmd("regkey"), "NOKEY", "the program kept its settings")

        # Uninstalled: the program and its registrations go; the document, the autosave copy, the
        # settings and the other program's registrations stay.
        self.run_silently('%s\\Uninstall.exe' % self.target)
        self.assertEqual(self.installed_files(), {"tmp/tolvane.tmp"})
        self.assertFalse(os.path.exists(self.unix(self.shortcut)), "the shortcut went")
        for key in (APP_KEY, PROGID_KEY, UNINSTALL_KEY, CLASSES + "\\.rtf"):
            with self.subTest(gone=key):
                self.assertEqual(self.s.cmd("hkcukey", key), "NOKEY")
        self.assertEqual(self.hkcu(CLASSES + "\\.txt\\OpenWithProgids", "Tolvane.Document"), "MISSING")
        self.assertEqual(self.hkcu(CLASSES + "\\.txt\\OpenWithProgids", OTHER_PROGID), "sz ")
        self.assertEqual(self.hkcu(CLASSES + "\\.txt"), "sz " + OTHER_DEFAULT)
        self.assertTrue(os.path.exists(document))
        self.assertNotEqual(self.s.cmd("regkey"), "NOKEY", "the settings stay unless asked")

        # Asked to, the uninstaller takes the settings too.
        self.run_silently(winpath(setup))
        self.run_silently('%s\\Uninstall.exe' % self.target, "/REMOVESETTINGS")
        self.assertEqual(self.s.cmd("regkey"), "NOKEY")
        self.assertEqual(self.installed_files(), {"tmp/tolvane.tmp"})

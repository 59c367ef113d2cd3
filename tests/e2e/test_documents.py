"""Documents, autosave, status line and styling of the real program."""
import os
import re
import shutil
import time

from harness import FIXTURES, TolvaneCase, unescape, winpath

ANSI_TEXT = "A\u00f1o nuevo, caf\u00e9 y \u00a3 libras.\rSegunda l\u00ednea\r"


class DocumentsTest(TolvaneCase):
    def copy_fixture(self, name, as_name=None):
        target = self.path(as_name or name)
        shutil.copy(os.path.join(FIXTURES, name), target)
        return target

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def wait_file(self, path, predicate=lambda data: True, ms=5000):
        end = time.time() + ms / 1000
        while time.time() < end:
            if os.path.exists(path):
                data = self.read(path)
                if predicate(data):
                    return data
            time.sleep(0.05)
        self.fail("no file %s" % path)

    def dialog(self):
        box = self.msgbox()
        self.assertIsNotNone(box, "no dialog")
        return box

    def test_ansi_text_from_the_command_line_is_edited_and_saved_as_ansi(self):
        doc = self.copy_fixture("ansi.txt")
        editor = self.start_ready(winpath(doc))
        self.assertEqual(self.editor_text(editor, ANSI_TEXT), ANSI_TEXT)
        self.keys(editor, "\u00bfS\u00ed? ")
        self.keys(editor, "^s")
        expected = "\u00bfS\u00ed? " + ANSI_TEXT.replace("\r", "\r\n")
        data = self.wait_file(doc, lambda d: d.startswith(b"\xbfS"))
        self.assertEqual(data, expected.encode("cp1252"))
        self.keys(editor, "^q")
        self.assertIsNone(self.msgbox(500), "saved: no prompt")
        self.assertEqual(self.exit_code(), "0")

    def test_rtf_opened_with_the_dialog_keeps_text_and_bold(self):
        doc = self.copy_fixture("sample.rtf", "story.rtf")
        editor = self.start_ready()
        self.keys(editor, "^o")
        self.s.cmd("setfile", self.dialog()[0], winpath(doc))
        # The control keeps no empty paragraph after the last paragraph mark.
        text = "Caf\u00e9 con negrita y \u00f1and\u00fa.\rSegunda l\u00ednea."
        self.assertEqual(self.editor_text(editor, text), text)
        self.keys(editor, "{END}!")
        self.keys(editor, "^s")
        data = self.wait_file(doc, lambda d: b"!" in d)
        self.assertTrue(data.startswith(b"{\\rtf"))
        self.assertRegex(data.decode("latin-1"), r"\\b\b")
        self.assertIn(b"Caf\\'e9", data)

    def test_save_as_without_extension_adds_rtf(self):
        editor = self.start_ready()
        self.keys(editor, "notes")
        self.keys(editor, "^s")  # unnamed: Save As
        self.s.cmd("setfile", self.dialog()[0], winpath(self.path("notes")))
        data = self.wait_file(self.path("notes.rtf"))
        self.assertTrue(data.startswith(b"{\\rtf"))
        self.assertFalse(os.path.exists(self.path("notes")))
        # Saved: Ctrl+S does nothing more and the exit asks nothing.
        self.keys(editor, "^q")
        self.assertIsNone(self.msgbox(500))
        self.assertEqual(self.exit_code(), "0")

    def test_save_prompt_yes_saves_before_exit(self):
        doc = self.copy_fixture("ansi.txt", "draft.txt")
        editor = self.start_ready(winpath(doc))
        self.keys(editor, "x")
        self.keys(editor, "^q")
        box = self.dialog()
        self.assertEqual(box[2], "Do you want to save document changes?")
        self.answer(box, 6)  # IDYES
        self.assertEqual(self.exit_code(15000), "0")
        self.assertTrue(self.read(doc).startswith(b"xA\xf1o"))

    def test_a_failed_save_keeps_the_old_file_and_the_changes(self):
        doc = self.copy_fixture("ansi.txt", "locked.txt")
        before = self.read(doc)
        editor = self.start_ready(winpath(doc))
        self.keys(editor, "lost? ")
        self.assertEqual(self.s.cmd("lock", winpath(doc)), "locked")
        try:
            self.keys(editor, "^s")
            box = self.dialog()
            self.assertTrue(box[2].startswith('Cannot create file "%s"' % winpath(doc)), box[2])
            self.answer(box)
        finally:
            self.s.cmd("lock", "")
        self.assertEqual(self.read(doc), before)
        self.assertEqual([n for n in os.listdir(self.dir) if n.endswith("~")], [], "no partial file left")
        # Still marked changed: the exit asks.
        self.keys(editor, "^q")
        box = self.dialog()
        self.assertEqual(box[2], "Do you want to save document changes?")
        self.answer(box, 7)
        self.assertEqual(self.exit_code(15000), "0")

    def test_missing_command_line_file_is_reported_and_the_document_stays_unnamed(self):
        self.start(winpath(self.path("absent.rtf")))
        box = self.dialog()
        self.assertTrue(box[2].startswith('Cannot open file "%s"' % winpath(self.path("absent.rtf"))), box[2])
        self.answer(box)
        editor = self.editor()
        self.keys(editor, "^l")
        self.assertTrue(self.status_panel(4, "File name: "))


class AutosaveTest(TolvaneCase):
    def setUp(self):
        super().setUp()
        self.s.cmd("setenv", "TOLVANE_TEST_TIMER_DIVISOR", "200")  # autosave every 600 ms

    def tearDown(self):
        self.s.cmd("setenv", "TOLVANE_TEST_TIMER_DIVISOR")
        super().tearDown()

    def test_autosave_writes_the_copy_without_touching_the_document_state(self):
        editor = self.start_ready()
        self.keys(editor, "kept safe")
        copy = self.path("tmp", "tolvane.tmp")
        end = time.time() + 5
        data = b""
        while time.time() < end and b"kept safe" not in data:
            time.sleep(0.1)
            data = open(copy, "rb").read() if os.path.exists(copy) else b""
        self.assertIn(b"kept safe", data)
        self.assertTrue(data.startswith(b"{\\rtf"), ".tmp is written as RTF")
        self.keys(editor, "^q")
        self.assertIsNotNone(self.msgbox(), "the autosave does not clear the changes")

    def test_autosave_never_overwrites_the_open_document(self):
        doc = self.path("mine.txt")
        shutil.copy(os.path.join(FIXTURES, "ansi.txt"), doc)
        before = open(doc, "rb").read()
        self.reg("fichero_temporal", winpath(doc))
        editor = self.start_ready(winpath(doc))
        self.keys(editor, "typed")
        self.assertIsNone(self.msgbox(0))
        self.assertEqual(open(doc, "rb").read(), before)


class StatusAndStyleTest(TolvaneCase):
    def test_status_line_texts(self):
        editor = self.start_ready()
        status = self.s.cmd("child", self.window("TfContenidoTexto"), "msctls_statusbar32")
        end = time.time() + 3
        while self.info(status)["visible"] != "0" and time.time() < end:
            time.sleep(0.05)
        self.assertEqual(self.info(status)["visible"], "0", "off after the first tick")
        self.keys(editor, "one two\tjoined - x{ENTER}ab")
        self.keys(editor, "^l")
        self.assertTrue(self.status_panel(1, "2/2 : 3"))
        parts = self.s.cmd("status", status)
        self.assertIn("edges=50,150,270,410,-1", parts)
        panels = [unescape(p) for p in parts.split("|")[1:]]
        self.assertEqual(panels[0], "")
        self.assertEqual(panels[2], "Words: 5")
        self.assertRegex(panels[3], r"\d")
        self.assertEqual(panels[4], "File name: ")
        self.keys(editor, "^l")
        self.assertEqual(self.info(status)["visible"], "0")

    def test_bold_and_date_insertion(self):
        editor = self.start_ready()
        self.keys(editor, "x ^bbold^b plain ^d")
        self.keys(editor, "^s")
        self.s.cmd("setfile", self.msgbox()[0], winpath(self.path("styled.rtf")))
        end = time.time() + 5
        while not os.path.exists(self.path("styled.rtf")) and time.time() < end:
            time.sleep(0.05)
        data = open(self.path("styled.rtf"), "rb").read().decode("latin-1")
        self.assertRegex(data, r"x \\b bold\\b0  plain")
        text = unescape(self.s.cmd("text", editor))
        self.assertRegex(text, r"^x bold plain \S*\d")

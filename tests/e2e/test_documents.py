"""Documents, autosave, status line and styling of the real program."""
import os
import re
import shutil
import time

from harness import FIXTURES, TolvaneCase, unescape, winpath
from test_configuration import ConfigurationCase

ANSI_TEXT = "A\u00f1o nuevo, caf\u00e9 y \u00a3 libras.\rSegunda l\u00ednea\r"
# Text of the encoding fixtures: "wide" holds characters outside cp1252, "narrow" does not.
WIDE = "Gr\u00fc\u00dfe \u2013 \u201cquotes\u201d \u65e5\u672c\u8a9e\rSecond line\r"
NARROW = "Gr\u00fc\u00dfe \u2013 \u201cquotes\u201d\rSecond line\r"
OLD_TIME = 1000000000  # a modification time no save can leave behind


class DocumentCase(TolvaneCase):
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

    def edited_and_saved(self, doc, expected_text):
        """Opens doc from the command line, changes it and changes it back, saves and exits."""
        os.utime(doc, (OLD_TIME, OLD_TIME))
        editor = self.start_ready(winpath(doc))
        self.assertEqual(self.editor_text(editor, expected_text), expected_text)
        self.keys(editor, "x{BACK}")
        self.keys(editor, "^s")
        self.keys(editor, "^q")
        self.assertIsNone(self.msgbox(500), "saved: no prompt")
        self.assertEqual(self.exit_code(), "0")
        self.assertNotEqual(os.stat(doc).st_mtime, OLD_TIME, "the file was written")

    def end_running(self):
        """Ends a program an earlier case of a table left running."""
        if self.pid:
            self.s.cmd("kill", self.pid)
            self.pid = None


class DocumentsTest(DocumentCase):
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


class FailedFirstDocumentTest(DocumentCase):
    def test_a_command_line_document_that_cannot_be_read_leaves_the_workspace_laid_out(self):
        for case in ("missing", "locked"):
            with self.subTest(case=case):
                self.end_running()
                doc = self.path("first.txt")
                if case == "locked":
                    self.copy_fixture("ansi.txt", "first.txt")
                    self.assertEqual(self.s.cmd("lock", winpath(doc)), "locked")
                elif os.path.exists(doc):
                    os.remove(doc)
                try:
                    self.start(winpath(doc))
                    box = self.dialog()
                    self.assertTrue(box[2].startswith('Cannot open file "%s"' % winpath(doc)), box[2])
                    self.answer(box)
                finally:
                    self.s.cmd("lock", "")
                editor = self.editor()
                x, y, w, h = self.rect(self.window("TfContenidoTexto"))
                self.onto_workspace()
                self.assertEqual(self.rect(self.control("Node0"))[:2], (x - 2, y - 2))
                self.assertEqual(self.rect(self.control("Node4"))[:2], (x + w - 2, y + h - 2))
                sw, sh = (int(v) for v in self.s.cmd("screen").split())
                help_window = self.window("TfAyuda")
                self.keys(editor, "^h")
                end = time.time() + 3
                while self.info(help_window)["visible"] != "1" and time.time() < end:
                    time.sleep(0.05)
                hx, hy, hw, hh = self.rect(help_window)
                self.assertEqual((hx, hy), (sw // 2 - hw // 2, sh - hh - 5))
                self.assertEqual(self.info(help_window)["visible"], "1")


class EncodingsTest(DocumentCase):
    def test_each_encoding_is_written_back_byte_for_byte(self):
        cases = [
            ("ansi.txt", ANSI_TEXT),
            ("encodings/utf8-bom-wide.txt", WIDE),
            ("encodings/utf8-bom-narrow.txt", NARROW),
            ("encodings/utf8-wide.txt", WIDE),
            ("encodings/utf8-narrow.txt", NARROW),
            ("encodings/utf16-wide.txt", WIDE),
            ("encodings/utf16-narrow.txt", NARROW),
        ]
        for fixture, text in cases:
            with self.subTest(fixture=fixture):
                self.end_running()
                doc = self.copy_fixture(fixture, "doc.txt")
                before = self.read(doc)
                self.edited_and_saved(doc, text)
                self.assertEqual(self.read(doc), before)

    def test_ansi_and_new_documents_take_a_utf8_mark_only_when_a_character_does_not_fit(self):
        bom = b"\xef\xbb\xbf"
        cases = [
            # (fixture or None for a new document, typed, expected file bytes)
            (None, "caf\u00e9 \u2013 ok", "caf\u00e9 \u2013 ok".encode("cp1252")),
            (None, "caf\u00e9 \u65e5\u672c", bom + "caf\u00e9 \u65e5\u672c".encode("utf-8")),
            ("ansi.txt", "\u65e5", bom + ("\u65e5" + ANSI_TEXT.replace("\r", "\r\n")).encode("utf-8")),
        ]
        for fixture, typed, expected in cases:
            with self.subTest(fixture=fixture, typed=typed):
                self.end_running()
                doc = self.path("doc.txt")
                if os.path.exists(doc):
                    os.remove(doc)
                if fixture:
                    self.copy_fixture(fixture, "doc.txt")
                    editor = self.start_ready(winpath(doc))
                    self.editor_text(editor, ANSI_TEXT)
                    self.keys(editor, typed)
                    self.keys(editor, "^s")
                else:
                    editor = self.start_ready()
                    self.keys(editor, typed)
                    self.keys(editor, "^s")  # unnamed: Save As
                    self.s.cmd("setfile", self.dialog()[0], winpath(doc))
                self.assertEqual(self.wait_file(doc, lambda d: d == expected, 3000), expected)
                if fixture:
                    # Written as UTF-8 once, it stays UTF-8 when the wide character goes again.
                    self.keys(editor, "{BACK}^s")
                    again = bom + ANSI_TEXT.replace("\r", "\r\n").encode("utf-8")
                    self.assertEqual(self.wait_file(doc, lambda d: d == again, 3000), again)
                self.keys(editor, "^q")
                self.assertIsNone(self.msgbox(500))
                self.assertEqual(self.exit_code(), "0")

    def test_rtf_ends_at_its_closing_brace(self):
        editor = self.start_ready()
        self.keys(editor, "the end")
        self.keys(editor, "^s")
        self.s.cmd("setfile", self.dialog()[0], winpath(self.path("end.rtf")))
        data = self.wait_file(self.path("end.rtf"))
        self.assertTrue(data.startswith(b"{\\rtf"))
        self.assertNotIn(b"\0", data)
        self.assertTrue(data.rstrip(b"\r\n").endswith(b"}"), data[-20:])


class SaveKeepsTheFileTest(DocumentCase):
    def save_change(self, opened, typed="new "):
        editor = self.start_ready(winpath(opened))
        self.editor_text(editor, ANSI_TEXT)
        self.keys(editor, typed)
        self.keys(editor, "^s")
        return editor

    def new_text(self, typed="new "):
        return (typed + ANSI_TEXT.replace("\r", "\r\n")).encode("cp1252")

    def quit_saved(self, editor):
        self.keys(editor, "^q")
        self.assertIsNone(self.msgbox(500), "saved: no prompt")
        self.assertEqual(self.exit_code(), "0")

    def leftovers(self):
        return [n for n in os.listdir(self.dir) if n.endswith("~")]

    def test_hidden_and_archive_attributes_survive_the_save(self):
        doc = self.copy_fixture("ansi.txt", "hidden.txt")
        hidden_archive = 0x2 | 0x20
        self.assertEqual(int(self.s.cmd("attrib", winpath(doc), hidden_archive)) & 0x27, hidden_archive)
        editor = self.save_change(doc)
        self.wait_file(doc, lambda d: d == self.new_text())
        self.quit_saved(editor)
        self.assertEqual(int(self.s.cmd("attrib", winpath(doc))) & 0x27, hidden_archive)

    def test_a_symbolic_link_stays_a_link_and_its_target_gets_the_text(self):
        real = self.copy_fixture("ansi.txt", "real.txt")
        link = self.path("link.txt")
        os.symlink("real.txt", link)
        editor = self.save_change(link)
        self.wait_file(real, lambda d: d == self.new_text())
        self.quit_saved(editor)
        self.assertTrue(os.path.islink(link))
        self.assertEqual(os.readlink(link), "real.txt")
        self.assertEqual(self.leftovers(), [])

    def test_a_stale_temporary_copy_is_cleared_and_never_written_through(self):
        doc = self.copy_fixture("ansi.txt", "doc.txt")
        # Left by a crash: read-only, and a second name of another file.
        victim = self.path("victim.txt")
        with open(victim, "wb") as f:
            f.write(b"keep me")
        os.link(victim, self.path("doc.txt.tvsave~"))
        os.chmod(victim, 0o444)
        editor = self.save_change(doc)
        self.wait_file(doc, lambda d: d == self.new_text())
        self.quit_saved(editor)
        self.assertEqual(self.read(victim), b"keep me")
        self.assertEqual(self.leftovers(), [])

    def test_a_read_only_file_is_refused_and_kept(self):
        doc = self.copy_fixture("ansi.txt", "readonly.txt")
        os.chmod(doc, 0o444)
        before = self.read(doc)
        editor = self.save_change(doc)
        box = self.dialog()
        self.assertTrue(box[2].startswith('Cannot create file "%s". ' % winpath(doc)), box[2])
        self.answer(box)
        self.assertEqual(self.read(doc), before)
        self.assertEqual(self.leftovers(), [])
        self.keys(editor, "^q")
        box = self.dialog()
        self.assertEqual(box[2], "Do you want to save document changes?")
        self.answer(box, 7)
        self.assertEqual(self.exit_code(15000), "0")


PROMPT = "Do you want to save document changes?"
IDYES, IDNO, IDCANCEL = 6, 7, 2


class NothingIsDiscardedTest(DocumentCase):
    def gone(self, h, ms=5000):
        end = time.time() + ms / 1000
        while self.s.cmd("iswindow", h) == "1" and time.time() < end:
            time.sleep(0.02)
        self.assertEqual(self.s.cmd("iswindow", h), "0", "the dialog went")

    def file_dialog(self):
        dlg = self.dialog()
        self.assertNotEqual(self.s.cmd("named", dlg[0], "RTF Files (*.rtf)"), "0", "a file dialog: %r" % (dlg,))
        return dlg

    def test_a_save_as_cancelled_from_the_prompt_abandons_the_command(self):
        for key in ("^q", "^n", "^o"):
            with self.subTest(key=key):
                self.end_running()
                editor = self.start_ready()
                self.keys(editor, "keep me")
                self.keys(editor, key)
                box = self.dialog()
                self.assertEqual(box[2], PROMPT)
                self.answer(box, IDYES)
                self.answer(self.file_dialog(), IDCANCEL)  # the Save As that Yes started
                self.settle_ui()
                self.assertIsNone(self.msgbox(500), "nothing more is asked or opened")
                self.assertEqual(self.editor_text(editor, "keep me"), "keep me")
                for cls in ("TfPrincipal", "TfContenidoTexto"):
                    self.assertEqual(self.info(self.window(cls))["visible"], "1", cls)
                # Still changed: the next exit asks again, and No still discards.
                self.keys(editor, "^q")
                box = self.dialog()
                self.assertEqual(box[2], PROMPT)
                self.answer(box, IDNO)
                self.assertEqual(self.exit_code(15000), "0")

    def test_open_asks_first_and_no_goes_on_to_the_dialog(self):
        doc = self.copy_fixture("ansi.txt", "other.txt")
        editor = self.start_ready()
        self.keys(editor, "draft")
        self.keys(editor, "^o")
        box = self.dialog()
        self.assertEqual(box[2], PROMPT)
        self.answer(box, IDNO)
        self.s.cmd("setfile", self.file_dialog()[0], winpath(doc))
        self.assertEqual(self.editor_text(editor, ANSI_TEXT), ANSI_TEXT)

    def test_save_as_asks_before_replacing_a_file(self):
        doc = self.path("chapter.rtf")
        only = b"{\\rtf1\\ansi the only copy of chapter one\\par}"
        with open(doc, "wb") as f:
            f.write(only)
        editor = self.start_ready()
        self.keys(editor, "new text")
        self.keys(editor, "^s")  # unnamed: Save As
        dlg = self.file_dialog()
        self.s.cmd("setfile", dlg[0], winpath(doc))
        r = self.s.cmd("ownedbox", dlg[0], 5000)
        self.assertNotEqual(r, "0", "the dialog asks before replacing")
        box = r.split("|", 2)
        self.assertIn("already exists", unescape(box[2]))
        self.answer(box, IDNO)  # back in the dialog
        self.assertEqual(self.info(dlg[0])["visible"], "1")
        self.assertEqual(self.read(doc), only)
        # Typed without its extension, the name the save would write is asked about too.
        self.s.cmd("setfile", dlg[0], winpath(self.path("chapter")))
        self.gone(dlg[0])
        box = self.dialog()
        self.assertEqual(box[2], "%s already exists.\nDo you want to replace it?" % winpath(doc))
        self.answer(box, IDNO)
        dlg = self.file_dialog()  # asked again
        self.assertEqual(self.read(doc), only)
        self.s.cmd("setfile", dlg[0], winpath(doc))
        r = self.s.cmd("ownedbox", dlg[0], 5000)
        self.assertNotEqual(r, "0")
        self.answer(r.split("|", 2), IDYES)
        self.wait_file(doc, lambda d: b"new text" in d)
        self.keys(editor, "^q")
        self.assertIsNone(self.msgbox(500), "saved")
        self.assertEqual(self.exit_code(), "0")


class PlainTextKeepsItsFormTest(DocumentCase):
    def test_plain_text_of_any_name_and_line_end_is_written_back_byte_for_byte(self):
        cases = [
            ("notes.md", b"# Notes\r\n\r\n- one *two*\r\n- [link](http://example.com)\r\n"),
            ("README", b"Read me first.\r\nThen the rest.\r\n"),
            ("session.log", b"12:00 started\n12:01 ended\n"),
            ("unix.txt", b"one\ntwo\n\nthree\n"),
            ("unix-utf8.md", "caf\u00e9 \u65e5\u672c\nna\u00efve\n".encode("utf-8")),
            ("dos.txt", b"one\r\ntwo\r\n\r\nthree\r\n"),
            ("mac.txt", b"one\rtwo\r"),
        ]
        for name, data in cases:
            with self.subTest(name=name):
                self.end_running()
                doc = self.path(name)
                with open(doc, "wb") as f:
                    f.write(data)
                self.edited_and_saved(doc, data.decode("utf-8").replace("\r\n", "\r").replace("\n", "\r"))
                self.assertEqual(self.read(doc), data)


class RelativeDocumentTest(DocumentCase, ConfigurationCase):
    def test_a_relative_command_line_name_is_shown_in_full(self):
        doc = self.copy_fixture("ansi.txt", "notes.txt")
        editor = self.start_ready("notes.txt")
        self.keys(editor, "^l")
        self.assertTrue(self.status_panel(4, "File name: " + winpath(doc)))

    def test_a_relative_command_line_document_is_saved_where_it_was_read(self):
        doc = self.copy_fixture("ansi.txt", "notes.txt")
        editor = self.start_ready("notes.txt")
        # A picker that moves the current folder would send the save elsewhere.
        cfg = self.open_config()
        field = self.control("sFicheroSonidoClick", cfg)
        self.click(field, 40, 10)
        dlg = self.s.cmd("waitvisible", "#32770", self.pid, 5000)
        self.assertNotEqual(dlg, "0")
        # As a writer would: into the folder first (the dialog goes there and
        # stays open, once its thread has handled the request), then the file.
        self.s.cmd("setfile", dlg, winpath(self.path("media")))
        self.assertEqual(self.s.cmd("settle", dlg, 4), "done")
        self.assertEqual(self.info(dlg)["visible"], "1")
        self.s.cmd("setfile", dlg, "click.wav")
        self.wait_info(dlg, "visible", "0")
        self.assertIsNone(self.msgbox(0), "the file was found in the folder the dialog went to")
        self.close_with(cfg, 2)
        self.keys(editor, "new ")
        self.keys(editor, "^s")
        self.wait_file(doc, lambda d: d.startswith(b"new "))
        self.assertFalse(os.path.exists(self.path("media", "notes.txt")))


class CutDownDocumentTest(DocumentCase):
    WARNING = ('This document holds footnotes, comments, headers and footers, which the editor cannot keep: '
               'a save leaves them out. Its first save keeps the original file as "%s".')

    def test_a_word_processors_footnote_is_told_and_the_original_kept(self):
        doc = self.copy_fixture("footnote.rtf", "chapter.rtf")
        original = self.read(doc)
        kept = self.path("chapter.original.rtf")
        self.start(winpath(doc))
        box = self.dialog()
        self.assertEqual(box[2], self.WARNING % winpath(kept))
        self.answer(box)
        editor = self.editor()
        self.assertIn("It rained all week.", unescape(self.s.cmd("text", editor)))
        self.keys(editor, "x{BACK}")
        self.assertIsNone(self.msgbox(300), "told once")
        self.keys(editor, "^s")
        saved = self.wait_file(doc, lambda d: d != original)
        self.assertEqual(self.read(kept), original)
        self.assertIn(b"It rained all week.", saved)
        self.assertNotIn(b"The rain had started on Tuesday.", saved, "the editor drops the footnote")
        # Kept once: the next save leaves the original as it is.
        self.keys(editor, "{END}!")
        self.keys(editor, "^s")
        self.wait_file(doc, lambda d: b"!" in d)
        self.assertEqual(self.read(kept), original)
        self.assertEqual(sorted(n for n in os.listdir(self.dir) if n.startswith("chapter")),
                         ["chapter.original.rtf", "chapter.rtf"])

    def test_an_earlier_copy_is_never_written_over(self):
        doc = self.copy_fixture("footnote.rtf", "chapter.rtf")
        original = self.read(doc)
        earlier = self.path("chapter.original.rtf")
        with open(earlier, "wb") as f:
            f.write(b"an earlier original")
        self.start(winpath(doc))
        box = self.dialog()
        self.assertTrue(box[2].endswith('"%s".' % winpath(self.path("chapter.original-2.rtf"))), box[2])
        self.answer(box)
        editor = self.editor()
        self.keys(editor, "x{BACK}^s")
        self.wait_file(doc, lambda d: d != original)
        self.assertEqual(self.read(self.path("chapter.original-2.rtf")), original)
        self.assertEqual(self.read(earlier), b"an earlier original")

    def test_a_document_the_editor_keeps_whole_is_not_copied(self):
        doc = self.copy_fixture("sample.rtf", "story.rtf")
        before = self.read(doc)
        editor = self.start_ready(winpath(doc))
        self.keys(editor, "Q")
        self.keys(editor, "^s")
        self.wait_file(doc, lambda d: d != before)
        self.assertIsNone(self.msgbox(0))
        self.assertEqual(sorted(n for n in os.listdir(self.dir) if n.startswith("story")), ["story.rtf"])


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

    def test_a_long_document_is_counted_in_steps_that_take_the_keys_typed_meanwhile(self):
        # Two million characters: the whole count takes the program many steps, and
        # the keys typed between them are in the figures it ends with.
        doc = self.path("long.txt")
        words = "one two three four five six seven eight nine ten".split()
        paragraphs = [" ".join(words[(i + k) % 10] * (1 + (i * k) % 3) for k in range(100)) for i in range(3200)]
        with open(doc, "w", newline="") as f:
            f.write("\r\n".join(paragraphs))
        self.assertGreater(os.path.getsize(doc), 2000000)
        editor = self.start_ready(winpath(doc))
        end = time.time() + 30
        while int(self.s.cmd("send", editor, 0xBA)) < 3200:  # EM_GETLINECOUNT: loaded
            self.assertLess(time.time(), end, "the document loads")
            time.sleep(0.1)
        lines = int(self.s.cmd("send", editor, 0xBA))
        self.keys(editor, "^lnew words{ENTER}")
        self.assertTrue(self.status_panel(1, "2/%d : 1" % (lines + 1), ms=60000))
        self.assertTrue(self.status_panel(2, "Words: %d" % (sum(len(p.split()) for p in paragraphs) + 2)))

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

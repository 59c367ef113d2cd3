"""Recovery after an unclean end: a killed process, a session that ends, a crash; the autosave
that fails and comes back."""
import glob
import os
import re
import shutil
import time

from harness import FIXTURES, TolvaneCase, unescape, winpath

OFFER = re.compile(r"^Tolvane did not close normally\. Open the text it kept on (.+\d.*)\?$")
SAVE_PROMPT = "Do you want to save document changes?"
AUTOSAVE_AGAIN = "The autosave copy could not be written; Tolvane tries again at the next interval."
WM_QUERYENDSESSION, WM_ENDSESSION, ENDSESSION_LOGOFF = 0x11, 0x16, 0x80000000


class RecoveryCase(TolvaneCase):
    divisor = None  # the autosave every two minutes: the copy holds only what its first tick saw

    def setUp(self):
        super().setUp()
        if self.divisor:
            self.s.cmd("setenv", "TOLVANE_TEST_TIMER_DIVISOR", str(self.divisor))

    def tearDown(self):
        self.s.cmd("setenv", "TOLVANE_TEST_TIMER_DIVISOR")
        super().tearDown()

    def copy(self):
        return self.path("tmp", "tolvane.tmp")

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def read_changed(self, path, old, ms=5000):
        """The file's bytes once they are no longer `old`, or as they are when the time is up."""
        end = time.time() + ms / 1000
        data = self.read(path)
        while data == old and time.time() < end:
            time.sleep(0.05)
            data = self.read(path)
        return data

    def wait_copy_holds(self, text, ms=5000):
        end = time.time() + ms / 1000
        data = b""
        while time.time() < end:
            if os.path.exists(self.copy()):
                data = self.read(self.copy())
                if text.encode("latin-1") in data:
                    return data
            time.sleep(0.05)
        self.fail("the copy does not hold %r: %r" % (text, data[-200:]))

    def wait_text_starts(self, editor, start, ms=5000):
        end = time.time() + ms / 1000
        while not unescape(self.s.cmd("text", editor)).startswith(start):
            self.assertLess(time.time(), end, "the editor does not show %r" % start)
            time.sleep(0.05)

    def kill(self):
        """Ends the program as a crash or a power cut does: no close handler runs."""
        self.assertEqual(self.s.cmd("kill", self.pid), "killed")
        self.pid = None

    def offer(self):
        box = self.msgbox(10000)
        self.assertIsNotNone(box, "nothing offered")
        self.assertRegex(box[2], OFFER)
        self.assert_box_painted(box)
        return box

    def kept(self):
        return sorted(os.path.basename(p) for p in glob.glob(self.path("tmp", "tolvane.kept-*.tmp")))

    def exit_asks_no(self, editor):
        """Ctrl+Q asks to save (the document is marked changed); No ends the program cleanly."""
        self.keys(editor, "^q")
        box = self.msgbox()
        self.assertIsNotNone(box, "marked changed: the exit asks")
        self.assertEqual(box[2], SAVE_PROMPT)
        self.answer(box, 7)
        self.assertEqual(self.exit_code(15000), "0")


class KilledRunTest(RecoveryCase):
    divisor = 200  # the autosave every 600 ms

    def test_yes_opens_the_kept_text_unnamed_and_changed(self):
        editor = self.start_ready()
        self.keys(editor, "Thirty-eight characters typed by hand.")
        self.wait_copy_holds("Thirty-eight characters typed by hand.")
        self.kill()
        self.start()
        box = self.offer()
        self.answer(box, 6)  # IDYES
        editor = self.editor()
        self.assertEqual(self.editor_text(editor, "Thirty-eight characters typed by hand."),
                         "Thirty-eight characters typed by hand.")
        self.keys(editor, "^l")
        self.assertTrue(self.status_panel(4, "File name: "), "unnamed")
        self.exit_asks_no(editor)

    def test_yes_gives_the_text_the_name_its_document_had_and_ctrl_s_saves_it_there(self):
        doc = self.path("chapter.txt")
        with open(doc, "wb") as f:
            f.write(b"first line")
        editor = self.start_ready(winpath(doc))
        self.assertEqual(self.editor_text(editor, "first line"), "first line")
        self.keys(editor, "{HOME}more ")
        self.wait_copy_holds("more first line")
        self.kill()
        self.assertEqual(self.read(doc), b"first line")
        self.start()  # no document named this time
        self.answer(self.offer(), 6)
        editor = self.editor()
        self.assertEqual(self.editor_text(editor, "more first line"), "more first line")
        self.keys(editor, "^s")  # named and changed: saved to its own file, no dialog
        self.assertEqual(self.read_changed(doc, b"first line"), b"more first line")
        self.keys(editor, "^q")
        self.assertIsNone(self.msgbox(500), "saved: nothing to ask")
        self.assertEqual(self.exit_code(15000), "0")

    def test_a_recovered_plain_text_document_is_saved_back_as_its_file_was_read(self):
        # Not named .txt, and LF or CR LF line ends: what Ctrl+S writes is the file as it was,
        # with the recovered words in it; never RTF, never other line ends.
        for name, lines in (("notes.md", b"first line\nsecond line\n"), ("README", b"first line\r\nsecond\r\n")):
            with self.subTest(name=name):
                if self.pid:  # left running by a failed case before
                    self.kill()
                doc = self.path(name)
                with open(doc, "wb") as f:
                    f.write(lines)
                editor = self.start_ready(winpath(doc))
                self.wait_text_starts(editor, "first line")
                self.keys(editor, "{HOME}more ")
                self.wait_copy_holds("more first line")
                self.kill()
                self.start()
                self.answer(self.offer(), 6)
                editor = self.editor()
                self.wait_text_starts(editor, "more first line")
                self.keys(editor, "^s")
                self.assertEqual(self.read_changed(doc, lines), b"more " + lines)
                self.keys(editor, "^q")
                self.assertEqual(self.exit_code(15000), "0")
                self.pid = None

    def test_no_keeps_the_copy_aside_and_a_clean_end_offers_nothing(self):
        editor = self.start_ready()
        self.keys(editor, "left behind")
        self.wait_copy_holds("left behind")
        self.kill()
        self.start()
        self.answer(self.offer(), 7)  # IDNO
        editor = self.editor()
        self.assertEqual(self.editor_text(editor, ""), "")
        kept = self.kept()
        self.assertEqual(len(kept), 1, kept)
        self.assertIn(b"left behind", self.read(self.path("tmp", kept[0])))
        self.keys(editor, "^q")  # unchanged: ends at once, through the close handler
        self.assertEqual(self.exit_code(15000), "0")
        # A clean end: the next start asks nothing, and the kept copy stays.
        editor = self.start_ready()
        self.assertIsNone(self.msgbox(1500), "a clean end offers nothing")
        self.assertIn(kept[0], self.kept())

    def test_the_offer_comes_after_a_start_up_box_is_answered(self):
        editor = self.start_ready()
        self.keys(editor, "kept while a box shows")
        self.wait_copy_holds("kept while a box shows")
        self.kill()
        self.start(winpath(self.path("absent.rtf")))
        box = self.msgbox(10000)
        self.assertIsNotNone(box)
        self.assertTrue(box[2].startswith("Cannot open file"), box[2])
        # An offer shown inside this box's loop would come over it within a few of the loop's
        # timer periods (10 ms); watched for a hundred of them.
        end = time.time() + 1
        while time.time() < end:
            self.assertEqual(self.s.cmd("boxes", self.pid), "1", "no second box over the first")
            time.sleep(0.02)
        self.answer(box)
        self.answer(self.offer(), 6)
        self.assertEqual(self.editor_text(self.editor(), "kept while a box shows"), "kept while a box shows")

    def test_the_same_text_as_the_documents_file_is_not_offered(self):
        doc = self.path("same.txt")
        with open(doc, "wb") as f:
            f.write(b"nothing new")
        editor = self.start_ready(winpath(doc))
        self.wait_copy_holds("nothing new")
        self.kill()
        self.start()
        self.assertIsNone(self.msgbox(1500), "the file holds the text already")

    def test_five_kept_copies_stay_and_the_oldest_goes(self):
        tmp = self.path("tmp")
        olds = ["tolvane.kept-2020010%d-120000.tmp" % d for d in range(1, 7)]
        for i, name in enumerate(olds):
            with open(os.path.join(tmp, name), "wb") as f:
                f.write(b"{\\rtf1\\pard old %d\\par}" % i)
        with open(self.copy(), "wb") as f:
            f.write(b"{\\rtf1\\pard the last run\\par}")
        editor = self.start_ready()
        self.keys(editor, "^q")
        self.assertEqual(self.exit_code(15000), "0")
        kept = self.kept()
        self.assertEqual(len(kept), 5, kept)
        self.assertEqual(kept[:4], olds[2:])  # the two oldest went
        self.assertIn(b"the last run", self.read(os.path.join(tmp, kept[-1])))

    def test_two_runs_never_write_over_each_others_copy(self):
        first = self.start_ready()
        self.keys(first, "first run")
        self.wait_copy_holds("first run")
        first_pid = self.pid
        second_pid = self.start()
        second = self.s.cmd("child", self.s.cmd("waitvisible", "TfContenidoTexto", second_pid, 15000),
                            "RICHEDIT50W")
        self.assertNotEqual(second, "0")
        self.assertIsNone(self.msgbox(1000), "a running first run is no unclean end")
        self.keys(second, "second run")
        other = self.path("tmp", "tolvane-2.tmp")
        end = time.time() + 5
        while time.time() < end and not (os.path.exists(other) and b"second run" in self.read(other)):
            time.sleep(0.05)
        self.assertIn(b"second run", self.read(other))
        self.assertIn(b"first run", self.read(self.copy()))
        self.assertNotIn(b"second run", self.read(self.copy()))
        self.s.cmd("kill", second_pid)
        self.pid = first_pid


    def test_a_second_runs_text_is_offered_when_one_run_starts_alone(self):
        first = self.start_ready()
        first_pid = self.pid
        second_pid = self.start()
        second = self.s.cmd("child", self.s.cmd("waitvisible", "TfContenidoTexto", second_pid, 15000),
                            "RICHEDIT50W")
        self.keys(second, "typed in the second window")
        other = self.path("tmp", "tolvane-2.tmp")
        end = time.time() + 5
        while time.time() < end and not (os.path.exists(other) and b"second window" in self.read(other)):
            time.sleep(0.05)
        self.assertEqual(self.s.cmd("kill", second_pid), "killed")  # the second run stops uncleanly
        self.pid = first_pid
        self.keys(first, "^q")  # the first ends normally
        self.assertEqual(self.exit_code(15000), "0")
        self.start()  # alone: slot 1, and the second slot's text is offered
        self.answer(self.offer(), 6)
        self.assertEqual(self.editor_text(self.editor(), "typed in the second window"), "typed in the second window")
        self.assertFalse(os.path.exists(other + ".run"), "the left marker is taken up")


class StartUpBoxTest(RecoveryCase):
    divisor = 200

    def test_a_tick_inside_a_start_up_box_leaves_the_copy_opened_as_the_document(self):
        shutil.copy(os.path.join(FIXTURES, "garbage.jpg"), self.path("media", "fondo.jpg"))
        with open(self.copy(), "wb") as f:
            f.write(b"{\\rtf1\\ansi\\pard precious words\\par}")
        self.start(winpath(self.copy()))
        box = self.msgbox(10000)
        self.assertIsNotNone(box)
        self.assertIn("background image", box[2])
        # The autosave's first tick, posted before the box came, is served by the box's own loop
        # within these round trips through it: before the document is loaded.
        self.assertEqual(self.s.cmd("settle", box[0], 4), "done")
        self.answer(box)
        self.wait_visible("TfContenidoTexto")
        self.assertEqual(self.editor_text(self.editor(), "precious words"), "precious words")
        self.assertIn(b"precious words", self.read(self.copy()))


class EndOfSessionTest(RecoveryCase):
    def test_query_end_session_writes_the_copy_at_once_and_the_next_start_offers_it(self):
        editor = self.start_ready()
        self.keys(editor, "logging off now")
        # Refused for now: the close handler asks first.
        self.assertEqual(self.s.cmd("send", self.window("TfPrincipal"), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF),
                         "0")
        self.wait_copy_holds("logging off now", ms=2000)
        box = self.msgbox()
        self.assertIsNotNone(box, "the close handler asks")
        self.assertEqual(box[2], SAVE_PROMPT)
        # The session ends anyway before anybody answers.
        self.s.cmd("post", self.window("TfPrincipal"), WM_ENDSESSION, 1, ENDSESSION_LOGOFF)
        self.kill()
        self.start()
        self.answer(self.offer(), 6)
        self.assertEqual(self.editor_text(self.editor(), "logging off now"), "logging off now")

    def test_query_end_session_without_changes_lets_the_session_end(self):
        self.start_ready()
        self.assertEqual(self.s.cmd("send", self.window("TfPrincipal"), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF),
                         "1")
        self.assertIsNone(self.msgbox(500))


class AutosaveFailureTest(RecoveryCase):
    divisor = 200

    def test_a_missing_folder_is_reported_once_and_the_copies_go_on_when_it_is_back(self):
        editor = self.start_ready()
        self.keys(editor, "abc")
        self.wait_copy_holds("abc")
        tmp = self.path("tmp")
        shutil.rmtree(tmp)
        box = self.msgbox(5000)
        self.assertIsNotNone(box, "the failure is told")
        self.assertTrue(box[2].startswith('Cannot create file "%s"' % winpath(self.copy())), box[2])
        self.assertTrue(box[2].endswith(AUTOSAVE_AGAIN), box[2])
        self.answer(box)
        # Three more intervals fail without another box.
        self.assertIsNone(self.msgbox(2000), "one box for one spell of failures")
        os.makedirs(tmp)
        self.keys(editor, "def")
        self.wait_copy_holds("abcdef")
        self.assertIsNone(self.msgbox(0))
        # After a success a new failure is told again.
        shutil.rmtree(tmp)
        box = self.msgbox(5000)
        self.assertIsNotNone(box, "a new spell of failures is told")
        self.answer(box)
        os.makedirs(tmp)
        self.wait_copy_holds("abcdef")


class CrashTest(RecoveryCase):
    def test_an_access_violation_keeps_the_typed_text_for_the_next_start(self):
        editor = self.start_ready()
        self.wait_copy_holds("rtf")  # the first tick's copy, of the empty editor
        self.keys(editor, "typed just before the crash")
        # In the editor before the crash: characters still queued when it comes were never text,
        # and the crash's read of the editor is served before them.
        self.assertEqual(self.editor_text(editor, "typed just before the crash"), "typed just before the crash")
        self.assertEqual(self.s.cmd("crash", self.pid), "done")
        box = self.msgbox(10000)
        self.assertIsNotNone(box, "the crash is reported")
        self.assertIn("cannot recover", box[2])
        self.answer(box)
        self.assertNotEqual(self.exit_code(15000), "TIMEOUT")
        self.assertNotIn(b"typed just", self.read(self.copy()))
        self.start()
        self.answer(self.offer(), 6)
        editor = self.editor()
        self.assertEqual(self.editor_text(editor, "typed just before the crash"), "typed just before the crash")
        self.exit_asks_no(editor)

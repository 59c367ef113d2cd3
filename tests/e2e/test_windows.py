"""Windows behaviours that Wine does not show by itself: dialogs over the stay-on-top text window, saves
refused for a moment, long document paths, DLLs planted beside the program and the see-through level 0."""
import os
import shutil
import time

from harness import BUILD, TolvaneCase, winpath
from test_documents import DocumentCase

# Off the screen's centre, where a dialog would open by itself.
PLACED = {"area_texto.left": 200, "area_texto.top": 100, "area_texto.width": 600, "area_texto.height": 500}


class DialogsTest(DocumentCase):
    def start_placed(self):
        for name, value in PLACED.items():
            self.reg(name, str(value))
        editor = self.start_ready()
        self.text = self.window("TfContenidoTexto")
        return editor

    def assert_over_the_text_window(self, dialog):
        self.assertEqual(self.s.cmd("above", dialog, self.text), "1", "in front of the text window")
        self.assertEqual(self.s.cmd("above", self.text, dialog), "0")

    def assert_centred_over_the_text_window(self, dialog):
        tx, ty, tw, th = self.rect(self.text)
        # Placed as it first becomes active, which may come a moment after it is found.
        end = time.time() + 3
        while True:
            x, y, w, h = self.rect(dialog)
            centred = abs(x + w // 2 - (tx + tw // 2)) <= 1 and abs(y + h // 2 - (ty + th // 2)) <= 1
            if centred or time.time() > end:
                break
            time.sleep(0.05)
        self.assertTrue(centred, "dialog at %s, text window at %s" % ((x, y, w, h), (tx, ty, tw, th)))

    def gone(self, dialog):
        """Returns once a file dialog is destroyed and its command has returned: until then its owner
        is still disabled."""
        end = time.time() + 5
        while self.s.cmd("iswindow", dialog) == "1" and time.time() < end:
            time.sleep(0.02)
        self.assertEqual(self.s.cmd("iswindow", dialog), "0", "the dialog went")
        self.settle_ui()

    def test_open_and_save_as_dialogs_belong_to_the_text_window_and_open_centred_over_it(self):
        editor = self.start_placed()
        for keys in ("^o", "words ^s"):
            with self.subTest(keys=keys):
                self.keys(editor, keys)
                dialog = self.dialog()[0]
                self.assertEqual(self.s.cmd("owner", dialog), self.text)
                self.assert_over_the_text_window(dialog)
                self.assert_centred_over_the_text_window(dialog)
                self.answer((dialog,), 2)  # IDCANCEL
                self.gone(dialog)

    def test_message_boxes_are_topmost_over_the_text_window(self):
        for name, value in PLACED.items():
            self.reg(name, str(value))
        doc = self.copy_fixture("ansi.txt", "locked.txt")
        editor = self.start_ready(winpath(doc))
        self.text = self.window("TfContenidoTexto")
        # A failure's box, shown while the workspace, below the text window, is the active window.
        self.keys(editor, "changed ")
        self.assertEqual(self.s.cmd("lock", winpath(doc)), "locked")
        try:
            self.onto_workspace()
            self.activate(self.window("TfPrincipal"))
            self.assertEqual(self.info(self.window("TfPrincipal"))["fg"], "1")
            self.click_control("bGuardar")
            box = self.dialog()
            self.assertTrue(box[2].startswith("Cannot create file"), box[2])
            self.assertEqual(self.info(box[0])["topmost"], "1")
            self.assert_over_the_text_window(box[0])
            self.answer(box)
        finally:
            self.s.cmd("lock", "")
        # The save prompt, asked from the editor.
        self.keys(editor, "^n")
        box = self.dialog()
        self.assertEqual(box[2], "Do you want to save document changes?")
        self.assertEqual(self.info(box[0])["topmost"], "1")
        self.assert_over_the_text_window(box[0])
        self.answer(box, 7)  # IDNO


class SavesTest(DocumentCase):
    def test_a_save_refused_for_a_moment_is_retried_and_done(self):
        doc = self.copy_fixture("ansi.txt", "held.txt")
        editor = self.start_ready(winpath(doc))
        self.keys(editor, "kept ")
        # Held as a scanner would: from before the save until a moment after its copy is written.
        self.assertEqual(self.s.cmd("holduntil", winpath(doc), winpath(doc + ".tvsave~"), 250), "held")
        self.keys(editor, "^s")
        data = self.wait_file(doc, lambda data: data.startswith(b"kept "), 5000)
        self.assertTrue(data.endswith(self.read(os.path.join(os.path.dirname(__file__), "..", "fixtures",
                                                             "ansi.txt"))))
        self.assertIsNone(self.msgbox(300), "no error")
        self.assertEqual([n for n in os.listdir(self.dir) if n.endswith("~")], [], "no partial file left")
        self.keys(editor, "^q")  # saved: no question
        self.assertEqual(self.exit_code(15000), "0")

    def test_a_document_past_the_classic_path_limit_is_opened_and_saved(self):
        # Z:\...\<folders>\notes.txt, 280 characters in all.
        base = winpath(self.dir)
        room = 280 - len(base) - len("\\notes.txt")
        folders = []
        while room > 0:
            part = "d" * min(room - 1, 60) if room > 1 else ""
            if not part:
                break
            folders.append(part)
            room -= len(part) + 1
        folder = os.path.join(self.dir, *folders)
        os.makedirs(folder)
        doc = os.path.join(folder, "notes.txt" if room == 0 else "n" * room + "notes.txt")
        name = winpath(doc)
        self.assertGreaterEqual(len(name), 280)
        shutil.copy(os.path.join(os.path.dirname(__file__), "..", "fixtures", "ansi.txt"), doc)
        editor = self.start_ready(name)
        self.keys(editor, "long ")
        self.keys(editor, "^s")
        self.wait_file(doc, lambda data: data.startswith(b"long A\xf1o"))
        self.assertIsNone(self.msgbox(300), "no error")
        self.assertEqual([n for n in os.listdir(folder) if n.endswith("~")], [])


class PlatformTest(TolvaneCase):
    def test_dlls_planted_in_the_program_folder_are_never_loaded(self):
        planted = ("Msftedit.dll", "winmm.dll", "version.dll", "msimg32.dll")
        for name in planted:
            shutil.copy(os.path.join(BUILD, "tvplanted.dll"), self.path(name))
        self.reg("sonido", "1")  # the ambient sound and the key click call into winmm
        self.reg("sonido_teclado", "1")
        editor = self.start_ready()
        self.assertEqual(self.s.cmd("class", editor).upper(), "RICHEDIT50W")
        self.keys(editor, "typed")
        self.assertEqual(self.editor_text(editor, "typed"), "typed")
        self.onto_workspace()  # the panels' gradients come from msimg32
        self.assertEqual([n for n in os.listdir(self.dir) if n.endswith(".loaded")], [])
        self.assertIsNone(self.msgbox(300))

    def test_a_see_through_level_of_0_is_applied_as_1_and_kept(self):
        self.reg("transparencia_area_texto", "0")
        self.reg("transparencia", "1")
        self.reg("transparencia_principal", "0")
        self.start_ready()
        self.assertEqual(self.active_info("TfContenidoTexto")["alpha"], "1")
        self.assertEqual(self.info(self.window("TfPrincipal"))["alpha"], "1")
        self.assertEqual(self.regget("transparencia_area_texto"), "sz 0")
        self.assertEqual(self.regget("transparencia_principal"), "sz 0")

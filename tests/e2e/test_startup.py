"""Start-up, settings, editor and shutdown of the real program."""
import os
import shutil
import subprocess
import time

import harness
from harness import TolvaneCase, unescape, winpath

INVALID = "I can't find %s file, %s option has been disabled. Please check your configuration."
AMBIENT = INVALID % ("ambient sound", "ambient sound")
CLICK = INVALID % ("audible keyboard sound", "audible keyboard")
BACKGROUND = INVALID % ("background image", "backgraund image")


class StartupTest(TolvaneCase):
    def test_empty_registry_gives_the_default_layout_and_writes_nothing(self):
        self.s.cmd("regclear")
        self.start()
        box = self.msgbox(3000)
        if box:  # no sound device here: the ambient player's error, and nothing else
            self.assertNotIn("can't find", box[2])
            self.answer(box)
        self.wait_visible("TfContenidoTexto")
        self.assertIsNone(self.msgbox(300))
        text = self.active_info("TfContenidoTexto")
        ws = self.info(self.window("TfPrincipal"))
        self.assertEqual((ws["x"], ws["y"], ws["w"], ws["h"]), ("0", "0", "1280", "800"))
        self.assertEqual(ws["alpha"], "none", "see-through is off by default")
        # 1280 wide: trunc(0.8 W) = 1024, left 128, height trunc(1024 / golden ratio) = 632
        self.assertEqual((text["x"], text["y"], text["w"], text["h"]), ("128", "50", "1024", "632"))
        self.assertEqual(text["alpha"], "200")
        self.assertEqual(text["topmost"], "1")
        self.assertEqual(text["rgn"], "1023x631", "a round-rect region leaves out the last row and column")
        self.assertEqual(text["corner"], "0", "rounded outline")
        self.assertEqual(self.info(self.window("TfSplashScreen"))["visible"], "0")
        # The key exists after start-up but the load writes no value.
        self.assertEqual(self.s.cmd("regkey"), "0")

    def test_no_sound_device_reports_the_mci_error_and_keeps_the_option_on(self):
        self.s.cmd("regclear")
        self.start_without_sound_device()
        box = self.msgbox(4000)
        self.assertIsNotNone(box, "the MCI error")
        self.assertNotIn("can't find", box[2])
        self.assert_box_painted(box)  # shown over the splash
        self.answer(box)
        editor = self.editor()
        self.keys(editor, "^t")  # writes the table
        self.wait_reg("transparencia", "sz 1")
        self.assertEqual(self.regget("sonido"), "sz 1")

    def test_registry_fixture_places_and_colours_the_windows(self):
        for name, value in [("area_texto.top", "60"), ("area_texto.left", "100"), ("area_texto.width", "600"),
                            ("area_texto.height", "400"), ("transparencia", "1"), ("transparencia_principal", "150"),
                            ("transparencia_area_texto", "230"), ("fondo", "0"), ("colorFondo", "255")]:
            self.reg(name, value)
        self.start_ready()
        text = self.active_info("TfContenidoTexto")
        self.assertEqual((text["x"], text["y"], text["w"], text["h"]), ("100", "60", "600", "400"))
        self.assertEqual(text["alpha"], "230")
        ws = self.info(self.window("TfPrincipal"))
        self.assertEqual(ws["alpha"], "150")

    def test_a_text_area_off_the_screen_starts_at_the_defaults_and_is_stored_only_when_saved(self):
        stored = {"area_texto.top": "50", "area_texto.left": "-5000", "area_texto.width": "200",
                  "area_texto.height": "300"}
        for name, value in stored.items():
            self.reg(name, value)
        editor = self.start_ready()
        text = self.window("TfContenidoTexto")
        # 1280 wide: the default rectangle.
        self.assertEqual(self.rect(text), (128, 50, 1024, 632))
        for name, value in stored.items():
            self.assertEqual(self.regget(name), "sz " + value, "start-up writes nothing")
        self.keys(editor, "^t")  # writes the whole table
        self.assertEqual(self.wait_reg("area_texto.left", "sz 128"), "sz 128")
        self.assertEqual(self.regget("area_texto.width"), "sz 1024")

    def test_colour_and_picture_paint_the_workspace(self):
        self.reg("fondo", "0")
        self.reg("colorFondo", "255")  # 0x0000FF: red
        self.reg("colorAreaTexto", "65280")  # 0x00FF00: green
        self.start_ready()
        self.assertEqual(self.wait_pixel(5, 790, "ff0000"), "ff0000")
        # The text window's margins take the text-area colour.
        x, y, w, h = self.rect(self.window("TfContenidoTexto"))
        self.assertEqual(self.wait_pixel(x + 3, y + h // 2, "00ff00"), "00ff00")

    def test_the_picture_is_stretched_over_the_whole_workspace(self):
        # Four coloured quadrants, 64 x 40: stretched, each fills a quarter of the screen.
        quadrants = ((255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 0))
        rows = []
        for y in range(40):
            row = b""
            for x in range(64):
                row += bytes(quadrants[(y >= 20) * 2 + (x >= 32)])
            rows.append(row)
        ppm = self.path("quadrants.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6 64 40 255\n" + b"".join(rows))
        with open(self.path("media", "fondo.jpg"), "wb") as out:
            subprocess.run(["cjpeg", "-quality", "100", ppm], stdout=out, check=True, timeout=30)
        self.reg("area_texto.left", "540")
        self.reg("area_texto.top", "330")
        self.reg("area_texto.width", "200")
        self.reg("area_texto.height", "140")
        self.start_ready()
        expected = {(20, 20): quadrants[0], (1260, 20): quadrants[1], (20, 780): quadrants[2],
                    (1260, 780): quadrants[3], (600, 300): quadrants[0], (680, 500): quadrants[3],
                    (20, 330): quadrants[0], (20, 470): quadrants[2], (570, 20): quadrants[0],
                    (710, 20): quadrants[1]}

        def near(got, want):
            return all(abs(int(got[2 * i:2 * i + 2], 16) - want[i]) <= 40 for i in range(3))
        wrong = self.drawn(lambda screen: {p: screen.pixel(*p) for p, c in expected.items()
                                           if not near(screen.pixel(*p), c)}, lambda wrong: not wrong)
        self.assertEqual(wrong, {}, "each quarter of the screen shows its quarter of the picture")

    def test_the_splash_is_on_screen_during_its_pause(self):
        self.start()
        splash = self.s.cmd("waitvisible", "TfSplashScreen", self.pid, 10000)
        self.assertNotEqual(splash, "0")
        x, y, w, h = self.rect(splash)
        # The pause lasts a second and handles no message: what shows must have been put there before.
        end = time.time() + 0.8
        while True:
            screen = harness.Screen(self.s.env)
            frame, inside = screen.pixel(x, y), screen.pixel(x + 5, y + 5)
            logo = screen.colours(x + 100, y + 40, w - 200, h - 100, 4)
            label = screen.colours(x + 20, y + h - 14, w - 40, 12, 1)
            shown = (frame == "808080" and inside == "ffffff" and len(logo) > 5 and
                     any(harness.dark(c) for c in label))
            if shown or time.time() > end:
                break
            time.sleep(0.05)
        self.assertEqual((frame, inside), ("808080", "ffffff"), "grey frame, white inside")
        self.assertGreater(len(logo), 5, "the logo is drawn")
        self.assertTrue(any(harness.dark(c) for c in label), "the label's text is drawn")

    def test_missing_media_are_reported_and_switched_off(self):
        self.s.cmd("regclear")
        for m in self.media:
            os.remove(self.path("media", m))
        self.start()
        for expected in (AMBIENT, CLICK, BACKGROUND):
            box = self.msgbox()
            self.assertIsNotNone(box, "expected: " + expected)
            self.assertEqual(box[1], "Tolvane")
            self.assertEqual(box[2], expected)
            self.assert_box_painted(box)
            self.answer(box)
        editor = self.editor()
        self.wait_visible("TfContenidoTexto")
        # Ctrl+T writes the whole table: the three options went off at load.
        self.keys(editor, "^t")
        self.assertEqual(self.wait_reg("transparencia", "sz 1"), "sz 1")
        self.assertEqual(self.regget("sonido"), "sz 0")
        self.assertEqual(self.regget("sonido_teclado"), "sz 0")
        self.assertEqual(self.regget("fondo"), "sz 0")

    def test_wrong_registry_type_is_reported_and_the_program_goes_on(self):
        self.reg("sonido", "1", kind="dword")
        self.start()
        box = self.msgbox()
        self.assertIsNotNone(box)
        self.assertEqual(box[2], "Invalid data type for 'sonido'")
        self.answer(box)
        # The load stopped before the autosave's name: its first copy, once the document is in, is
        # told to fail rather than left undone in silence.
        box = self.msgbox()
        self.assertIsNotNone(box)
        self.assertTrue(box[2].startswith('Cannot create file ""'), box[2])
        self.assertIn("tries again at the next interval", box[2])
        self.answer(box)
        editor = self.editor()
        self.wait_visible("TfContenidoTexto")
        self.keys(editor, "ok")
        self.assertEqual(self.editor_text(editor, "ok"), "ok")

    def test_odd_registry_contents_are_read_safely(self):
        long_path = "C:\\" + "x" * 20000 + ".tmp"
        self.reg("fichero_temporal", long_path)
        self.s.cmd("regset", "colorTexto", "rawsz", "12")  # no terminating zero
        self.reg("minutos", "99999999999999999999")
        self.start()
        # The first autosave cannot write to that name: reported, and the autosave ends.
        box = self.msgbox()
        self.assertIsNotNone(box)
        self.assertTrue(box[2].startswith('Cannot create file "C:\\xxx'), box[2])
        self.answer(box)
        editor = self.editor()
        self.keys(editor, "^t")  # writes the table back
        self.assertEqual(self.wait_reg("minutos", "sz 60"), "sz 60", "an unreadable number gives the default")
        self.assertEqual(self.regget("fichero_temporal"), "sz " + long_path.replace("\\", "\\\\"))
        self.assertEqual(self.regget("colorTexto"), "sz 12")
        self.assertEqual(self.regget("minutos"), "sz 60", "an unreadable number gives the default")

    def test_broken_background_picture_falls_back_to_the_colour(self):
        for fixture in ("truncated.jpg", "garbage.jpg"):
            with self.subTest(fixture=fixture):
                self.s.cmd("regclear")
                self.reg("sonido", "0")
                self.reg("colorFondo", "65280")  # green
                with open(os.path.join(os.path.dirname(__file__), "..", "fixtures", fixture), "rb") as f:
                    data = f.read()
                with open(self.path("media", "fondo.jpg"), "wb") as f:
                    f.write(data)
                self.start()
                box = self.msgbox()
                self.assertIsNotNone(box)
                self.assertIn("background image", box[2])
                self.answer(box)
                self.wait_visible("TfContenidoTexto")
                self.assertEqual(self.wait_pixel(5, 790, "00ff00"), "00ff00")
                self.s.cmd("kill", self.pid)
                self.pid = None


class EditorAndExitTest(TolvaneCase):
    def test_typing_reaches_the_editor(self):
        editor = self.start_ready()
        self.keys(editor, "Hello world{ENTER}second")
        self.assertEqual(self.editor_text(editor, "Hello world\rsecond"), "Hello world\rsecond")

    def exit_fades(self, window, after_keys=None):
        """Ctrl+Q to the end of the process: its exit code, and the pauses of the fade it took (None
        when it took none), from the sound log."""
        self.keys(window, "^q")
        if after_keys:
            after_keys()
        code = self.exit_code()
        pauses = None
        if os.path.exists(self.log):
            with open(self.log, encoding="utf-8") as f:
                for line in f:
                    if line.startswith("fade "):
                        pauses = int(line.split("pauses=")[1])
        return code, pauses

    def start_logged(self):
        self.log = self.path("sound.log")
        self.pid = self.s.cmd("launchenv", winpath(self.dir), '"%s"' % winpath(self.path("Tolvane.exe")),
                              "TOLVANE_TEST_MCI_LOG=" + winpath(self.log))
        self.assertTrue(self.pid.isdigit(), self.pid)
        self.wait_visible("TfContenidoTexto")
        return self.editor()

    def test_ctrl_q_without_changes_asks_nothing_fades_nothing_and_ends_with_code_0(self):
        editor = self.start_logged()
        code, pauses = self.exit_fades(editor)
        self.assertEqual(code, "0")
        self.assertIsNone(pauses, "no changes: no fade")

    def test_exit_after_no_takes_the_fade_of_251_pauses(self):
        editor = self.start_logged()
        self.keys(editor, "draft")
        code, pauses = self.exit_fades(editor, lambda: self.answer(self.msgbox(), 7))  # IDNO
        self.assertEqual(code, "0")
        self.assertEqual(pauses, 251)

    def test_closing_the_text_window_ends_the_program(self):
        self.start_ready()
        self.s.cmd("post", self.window("TfContenidoTexto"), "0x10")  # WM_CLOSE
        self.assertEqual(self.exit_code(), "0")

    def test_unsaved_changes_ask_and_no_writes_nothing(self):
        editor = self.start_ready()
        self.keys(editor, "draft")
        before = set(os.listdir(self.dir))
        self.keys(editor, "^q")
        box = self.msgbox()
        self.assertIsNotNone(box)
        self.assertEqual(box[2], "Do you want to save document changes?")
        self.assert_box_painted(box)
        self.answer(box, 7)  # IDNO
        self.assertEqual(self.exit_code(), "0")
        self.assertEqual(set(os.listdir(self.dir)), before)

"""The program laid out for the display's density: every designed size, place and font at 96 DPI,
scaled for a display of 144 DPI (Wine told through the user's LogPixels before the session starts)."""
import time

from harness import TolvaneCase

TEXT_AREA = {"area_texto.left": 200, "area_texto.top": 100, "area_texto.width": 500, "area_texto.height": 300}


class Layout:
    """The same checks at each density; sizes designed at 96 DPI are scaled to the nearest pixel."""

    def sc(self, v):
        return (v * (self.dpi or 96) + 48) // 96

    def start_placed(self):
        for name, value in TEXT_AREA.items():
            self.reg(name, str(value))  # screen pixels: stored as they are at any density
        self.start_ready()
        self.assertEqual(self.rect(self.window("TfContenidoTexto")), (200, 100, 500, 300))

    def test_program_sees_the_display_density(self):
        self.start_placed()
        self.assertEqual(self.s.cmd("dpi", self.window("TfPrincipal")), str(self.dpi or 96))

    def test_panels_buttons_and_handles_come_out_scaled(self):
        self.start_placed()
        self.onto_workspace()
        sc = self.sc
        menu, styles = self.control("pMenu"), self.control("pEstilos")
        self.assertEqual(self.rect(menu), (700 + sc(2), 100, sc(105), sc(370)))
        self.assertEqual(self.rect(styles), (200 - sc(33) - sc(2), 100, sc(33), sc(370)))
        mx, my = 700 + sc(2), 100
        for name, (x, y, w, h) in {"bNew": (4, 8, 28, 28), "bAbrir": (70, 53, 28, 28),
                                   "btnTransparente": (38, 142, 28, 28), "sbVolumen": (1, 210, 101, 28)}.items():
            self.assertEqual(self.rect(self.control(name, menu)), (mx + sc(x), my + sc(y), sc(w), sc(h)), name)
        self.assertEqual(self.rect(self.control("bFuenteG", styles)),
                         (200 - sc(33) - sc(2) + sc(2), 100 + sc(215), sc(28), sc(28)))
        self.assertEqual(self.rect(self.control("Node0")), (200 - sc(2), 100 - sc(2), sc(5), sc(5)))
        self.assertEqual(self.rect(self.control("Node4")), (700 - sc(2), 400 - sc(2), sc(5), sc(5)))
        # What shows: the button's face is as wide as the button, on the white panel, a quarter of its
        # height above its bottom (below the caption, clear of the rounded corners).
        x, y, w, h = self.rect(self.control("bNew", menu))
        row = y + h - h // 4

        def face(screen):
            """The panel's colour left of the button, and how far the button's face goes from there."""
            painted = 0
            while screen.pixel(x + painted, row) != "ffffff" and painted < 3 * w:
                painted += 1
            return screen.pixel(x - 1, row), painted
        screen = self.drawn(lambda screen: screen, lambda screen: face(screen) == ("ffffff", w))
        self.assertEqual(face(screen), ("ffffff", w), "painted width of bNew")
        # The caption's font grows with the density: its ink is taller than the designed 11 pixels allow.
        ink = [yy for yy in range(y, y + h // 2 + sc(6)) if any(
            screen.pixel(xx, yy) in ("faf6e8",) for xx in range(x, x + w))]
        self.assertTrue(ink, "caption drawn")
        self.assertGreaterEqual(max(ink) - min(ink) + 1, sc(7), "caption height")
        self.assertLessEqual(max(ink) - min(ink) + 1, sc(11), "caption height")

    def test_configuration_window_and_its_buttons_come_out_scaled(self):
        self.start_placed()
        self.onto_workspace()
        self.click_control("bConfiguracion")
        conf = self.wait_visible("TfConfiguracion", 5000)
        sc = self.sc
        x, y, w, h = self.rect(conf)
        self.assertEqual((w, h), (sc(586), sc(305)))
        sw, sh = (int(v) for v in self.s.cmd("screen").split())
        self.assertEqual((x, y), ((sw - w) // 2, (sh - h) // 2))
        for name, (bx, by, bw, bh) in {"bAceptar": (398, 247, 75, 25), "bCancelar": (488, 247, 75, 25),
                                       "PageControl1": (8, 24, 553, 217)}.items():
            self.assertEqual(self.rect(self.control(name, conf)), (x + sc(bx), y + sc(by), sc(bw), sc(bh)), name)

    def test_colour_palette_comes_out_scaled_and_takes_its_clicks_there(self):
        self.start_placed()
        self.onto_workspace()
        self.click_control("bConfiguracion")
        conf = self.wait_visible("TfConfiguracion", 5000)
        self.s.cmd("send", self.control("PageControl1", conf), 0x1330, 1, 0)  # TCM_SETCURFOCUS: Background
        colour = self.control("colorFondo", conf)
        end = time.time() + 3
        while self.info(colour)["visible"] != "1" and time.time() < end:
            time.sleep(0.05)
        x, y, w, h = self.rect(colour)
        self.click_at(x + w // 2, y + h // 2)
        palette = self.s.cmd("waitvisible", "TvColourPalette", self.pid, 3000)
        self.assertNotEqual(palette, "0", "the palette dropped down")
        sc = self.sc
        # Designed as 168 x 169 client pixels inside a 1-pixel border.
        self.assertEqual(self.rect(palette)[2:], (sc(168) + 2, sc(169) + 2))
        # The red cell, the first of the third row: its centre at (14, 89) as designed.
        px, py = (int(v) for v in self.s.cmd("toscreen", palette, sc(14), sc(89)).split())
        self.click_at(px, py)
        self.assertEqual(self.s.cmd("find", "TvColourPalette", self.pid), "0", "closed on choosing")
        self.assertEqual(int(self.s.cmd("send", colour, 0x478, 0, 0)), 0x0000FF)  # the colour button's value

    def test_status_bar_and_help_overlay_come_out_scaled(self):
        self.start_placed()
        editor = self.editor()
        sc = self.sc
        status = self.s.cmd("child", self.window("TfContenidoTexto"), "msctls_statusbar32")
        end = time.time() + 3
        while self.info(status)["visible"] != "0" and time.time() < end:
            time.sleep(0.05)
        self.keys(editor, "^l")
        self.assertTrue(self.status_panel(1, "1/1 : 1"))
        self.assertIn("edges=%d,%d,%d,%d,-1" % (sc(50), sc(150), sc(270), sc(410)), self.s.cmd("status", status))
        # In the bottom margin, its bottom edge on the text window's bottom edge.
        self.assertEqual(self.rect(status), (200, 400 - sc(19), 500, sc(19)))
        self.keys(editor, "^h")
        overlay = self.wait_visible("TfAyuda", 5000)
        x, y, w, h = self.rect(overlay)
        sw, sh = (int(v) for v in self.s.cmd("screen").split())
        self.assertEqual((w, h), (sc(563), sc(119)))
        self.assertEqual((x, y), (sw // 2 - w // 2, sh - h - sc(5)))


class AtBaseDensity(Layout, TolvaneCase):
    dpi = None


class AtOneAndAHalf(Layout, TolvaneCase):
    dpi = 144


class MovedBetweenMonitors(TolvaneCase):
    """Wine 8 never sends WM_DPICHANGED: the driver sends it as moving to a 150 % monitor and back would,
    with the rectangles the system suggests, and the program must follow and come back unchanged."""

    def sc(self, v, dpi):
        return (v * dpi + 48) // 96

    def move_to(self, dpi, text_rect):
        sw, sh = (int(v) for v in self.s.cmd("screen").split())
        self.assertEqual(self.s.cmd("dpichange", self.window("TfPrincipal"), dpi, 0, 0, sw, sh), "done")
        x, y, w, h = text_rect
        self.assertEqual(self.s.cmd("dpichange", self.window("TfContenidoTexto"), dpi, x, y, x + w, y + h), "done")
        self.settle_ui()

    def assert_laid_out_at(self, dpi, text_rect):
        sc = lambda v: self.sc(v, dpi)  # noqa: E731
        text = self.window("TfContenidoTexto")
        self.assertEqual(self.rect(text), text_rect, "the suggested rectangle taken")
        x, y, w, h = text_rect
        status = self.s.cmd("child", text, "msctls_statusbar32")
        self.assertIn("edges=%d,%d,%d,%d,-1" % (sc(50), sc(150), sc(270), sc(410)), self.s.cmd("status", status))
        self.assertEqual(self.rect(status), (x, y + h - sc(19), w, sc(19)))
        editor = self.editor()
        self.assertEqual(self.rect(editor), (x + sc(20), y + sc(20), w - 2 * sc(20), h - 2 * sc(20)))
        self.onto_workspace()
        self.assertEqual(self.rect(self.control("pMenu")), (x + w + sc(2), y, sc(105), sc(370)))
        self.assertEqual(self.rect(self.control("bNew", self.control("pMenu"))),
                         (x + w + sc(2) + sc(4), y + sc(8), sc(28), sc(28)))
        self.assertEqual(self.rect(self.control("Node0")), (x - sc(2), y - sc(2), sc(5), sc(5)))
        self.point(x + w // 2, y + h // 2)  # back onto the text

    def test_a_move_to_a_denser_monitor_and_back_lays_out_anew_and_leaves_the_text_area_as_it_was(self):
        for name, value in TEXT_AREA.items():
            self.reg(name, str(value))
        editor = self.start_ready()
        self.keys(editor, "text before the move")
        start = (200, 100, 500, 300)
        self.assert_laid_out_at(96, start)
        denser = (200, 100, 750, 450)  # the system keeps the top-left corner and scales the size
        self.move_to(144, denser)
        self.assert_laid_out_at(144, denser)
        self.move_to(96, start)
        self.assert_laid_out_at(96, start)
        self.assertEqual(self.editor_text(editor, "text before the move"), "text before the move")
        for name, value in TEXT_AREA.items():
            self.assertEqual(self.regget(name), "sz %d" % value, name)

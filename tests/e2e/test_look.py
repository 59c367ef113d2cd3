"""What a person sees of the panels' pictures, the status bar and the editor's border, from the display's pixels."""

import os
import subprocess

from harness import TolvaneCase, dark, winpath

WHITE = "ffffff"
# A pale green text area (0x00BBGGRR), shown opaque so the screen holds its exact colour.
AREA = (0xE0, 0xF0, 0xD0)
AREA_SETTING = str(AREA[0] | AREA[1] << 8 | AREA[2] << 16)
AREA_HEX = "%02x%02x%02x" % AREA
PLACED = {"area_texto.left": 200, "area_texto.top": 100, "area_texto.width": 600, "area_texto.height": 300,
          "transparencia_area_texto": 255}
MARGIN = 3  # pixels of panel around a control that must stay white


def light(colour):
    return min(int(colour[i:i + 2], 16) for i in (0, 2, 4)) > 200


class LookTest(TolvaneCase):
    def start_placed(self, **settings):
        for name, value in dict(PLACED, **settings).items():
            self.reg(name, str(value))
        editor = self.start_ready()
        self.text = self.window("TfContenidoTexto")
        return editor

    def square(self, name, screen):
        """The control's screen rectangle and the pixels of it and of the panel around it, by position
        relative to the control's top-left corner."""
        control = self.control(name)
        x, y, w, h = self.rect(control)
        # Only the panel's own surface: its rounded outline leaves out the last pixels on the right and at the bottom.
        px, py, pw, ph = self.rect(self.panel_of(name))
        pixels = {(dx, dy): screen.pixel(x + dx, y + dy)
                  for dy in range(-MARGIN, h + MARGIN) for dx in range(-MARGIN, w + MARGIN)
                  if px <= x + dx < px + pw - 3 and py <= y + dy < py + ph - 3}
        return (w, h), pixels

    def panel_of(self, name):
        return self.control("pEstilos" if name.startswith("bFuente") else "pMenu")

    def painted(self, name, ready, ms=3000):
        """square() once ready(pixels) holds, or the last one when the time is up."""
        return self.drawn(lambda screen: self.square(name, screen), lambda square: ready(square[1]), ms)

    def assert_inside(self, name, size, pixels):
        w, h = size
        outside = {p: c for p, c in pixels.items() if not (0 <= p[0] < w and 0 <= p[1] < h) and c != WHITE}
        self.assertEqual(outside, {}, "%s draws outside its square" % name)

    def away_from_controls(self):
        """The pointer onto an empty spot of the command panel: no control is lit and no tooltip covers one."""
        x, y, w, h = self.rect(self.control("pMenu"))
        self.point(x + w - 6, y + 100)

    # -- pictures ---------------------------------------------------------
    def test_switch_pictures_lie_inside_their_squares_and_differ_on_and_off(self):
        # The workspace's see-through level is opaque, so switching it on leaves the panel's colours alone.
        self.start_placed(transparencia_principal=255, transparencia=0, sonido_teclado=1)
        self.onto_workspace()
        for name in ("bSonido", "bTeclado", "bFondo", "btnTransparente"):
            with self.subTest(name):
                size, before = self.painted(name, lambda p: len(set(p.values())) > 2)
                self.click_control(name)
                self.away_from_controls()
                size, after = self.painted(name, lambda p: p != before)
                for pixels in (before, after):
                    self.assert_inside(name, size, pixels)
                    inside = [c for (dx, dy), c in pixels.items() if 0 <= dx < size[0] and 0 <= dy < size[1]]
                    face = max(set(inside), key=inside.count)
                    picture = sum(1 for c in inside if c != face and c != WHITE)
                    # A picture, not a letter or two: at least a tenth of the square.
                    self.assertGreater(picture, len(inside) // 10, "%s shows a picture" % name)
                changed = sum(1 for p in before if before[p] != after[p])
                self.assertGreater(changed, size[0] * size[1] // 3, "%s looks different on and off" % name)

    def test_bitmap_button_captions_are_drawn_inside_their_squares_at_their_offsets(self):
        self.start_placed()
        self.onto_workspace()
        # name, caption offset
        for name, at in (("bNew", (4, 6)), ("bSalir", (4, 6)), ("bGuardarComo", (3, 6)), ("bGuardar", (7, 6)),
                         ("bFuenteG", (10, 6)), ("bFuenteB", (8, 6))):
            with self.subTest(name):
                size, pixels = self.painted(name, lambda p: any(light(c) and c != WHITE for c in p.values()))
                self.assert_inside(name, size, pixels)
                inside = {p: c for p, c in pixels.items() if 0 <= p[0] < size[0] and 0 <= p[1] < size[1]}
                caption = [p for p, c in inside.items() if light(c) and c != WHITE]
                # The face is darker than the caption, so the caption stands out on it.
                face = [c for c in inside.values() if not light(c)]
                self.assertGreater(len(face), len(inside) * 3 // 4)
                self.assertLess(sum(sum(int(c[i:i + 2], 16) for i in (0, 2, 4)) for c in face) / len(face), 3 * 160)
                self.assertGreater(len(caption), 10, "%s has a caption" % name)
                left, top = min(p[0] for p in caption), min(p[1] for p in caption)
                right, bottom = max(p[0] for p in caption), max(p[1] for p in caption)
                self.assertTrue(at[0] <= left <= at[0] + 3 and at[1] <= top <= at[1] + 5, (left, top))
                self.assertTrue(right < size[0] - 1 and bottom < size[1] - 1, (right, bottom))

    # -- status bar and border --------------------------------------------
    def test_status_bar_has_the_text_area_colour_and_centred_panels(self):
        editor = self.start_placed(colorAreaTexto=AREA_SETTING)
        self.keys(editor, "^l")
        self.assertTrue(self.status_panel(4, "File name: "))
        bar = self.s.cmd("child", self.text, "msctls_statusbar32")
        x, y, w, h = self.rect(bar)
        screen, seen = self.drawn(lambda screen: (screen, screen.colours(x, y, w, h, 1)),
                                  lambda read: read[1].get(AREA_HEX, 0) > w * h * 3 // 4)
        self.assertGreater(seen.get(AREA_HEX, 0), w * h * 3 // 4, "painted in the text-area colour")
        edges = [0, 50, 150, 270, 410, w]
        for panel in range(1, 5):
            with self.subTest(panel=panel):
                left, right = edges[panel] + 1, edges[panel + 1] - 1
                columns = [cx for cx in range(left, right)
                           if any(dark(screen.pixel(x + cx, y + cy)) for cy in range(h))]
                self.assertTrue(columns, "panel %d shows text" % panel)
                before, after = columns[0] - left, right - 1 - columns[-1]
                # Left or right aligned would leave one margin near 0; the glyphs' own side bearings
                # leave a few pixels of difference.
                self.assertLessEqual(abs(before - after), 4, "panel %d centred: %d | %d" % (panel, before, after))

    def test_editor_frame_of_the_picture_off_goes_each_time_the_text_window_becomes_active(self):
        editor = self.start_placed(fondo=0)
        x, y, w, h = self.rect(editor)
        # Halfway between the black text and the white area.
        grey = "7f7f7f"

        def edge(screen):
            return ([screen.pixel(x + dx, y) for dx in range(0, w, 7)] +
                    [screen.pixel(x + dx, y + h - 1) for dx in range(0, w, 7)] +
                    [screen.pixel(x, y + dy) for dy in range(0, h, 7)] +
                    [screen.pixel(x + w - 1, y + dy) for dy in range(0, h, 7)])

        def wait_edge(colour):
            return self.drawn(lambda screen: screen, lambda screen: set(edge(screen)) == {colour})
        # The text window became active at start-up, after the settings gave the frame.
        screen = wait_edge(WHITE)
        self.assertEqual(set(edge(screen)), {WHITE}, "no frame once the text window is active")
        self.keys(editor, "^p")  # the picture on
        self.assertEqual(self.wait_reg("fondo", "sz 1"), "sz 1")
        self.keys(editor, "^p")  # and off again: the frame, until the next activation
        self.assertEqual(self.wait_reg("fondo", "sz 0"), "sz 0")
        screen = wait_edge(grey)
        self.assertEqual(set(edge(screen)), {grey}, "a 1-pixel frame with the picture off")
        self.assertEqual(screen.pixel(x + w // 2, y + 1), WHITE, "one pixel wide")
        self.activate(self.window("TfPrincipal"))
        self.activate(self.text)
        screen = wait_edge(WHITE)
        self.assertEqual(set(edge(screen)), {WHITE}, "the frame gone as the text window became active")

    def test_deleted_text_and_a_cleared_selection_leave_only_the_text_area_colour(self):
        editor = self.start_placed(colorAreaTexto=AREA_SETTING)
        x, y, w, h = self.rect(editor)
        self.keys(editor, "Ghosts of deleted text{ENTER}and of a selection{ENTER}" * 3)

        def inked(screen):
            return sum(n for c, n in screen.colours(x, y, w, h, 2).items() if dark(c))
        self.assertGreater(self.drawn(inked, lambda n: n > 0), 0, "the text is drawn")
        self.keys(editor, "^a")  # the whole text selected, highlighted
        self.keys(editor, "{BACK}")
        self.assertEqual(self.editor_text(editor, ""), "")
        # Clear of the caret, which blinks at the start of the first line.
        seen = self.drawn(lambda screen: screen.colours(x + 6, y, w - 6, h, 1), lambda seen: set(seen) == {AREA_HEX})
        self.assertEqual(set(seen), {AREA_HEX}, "nothing left of the text or its highlight: %s" %
                         sorted(seen.items(), key=lambda kv: -kv[1])[:4])


def write_jpeg(path, width, height, row):
    """A JPEG of `height` copies of one row of (r, g, b) pixels given by row(x), made with cjpeg."""
    line = b"".join(bytes(row(x)) for x in range(width))
    ppm = path + ".ppm"
    with open(ppm, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height) + line * height)
    subprocess.run(["cjpeg", "-quality", "95", "-outfile", path, ppm], check=True)
    os.remove(ppm)


class PictureTest(TolvaneCase):
    ROW = 700  # below the text window and the panels
    start_placed = LookTest.start_placed

    def test_a_picture_larger_than_the_screen_shows_as_sharp_as_the_screen_allows(self):
        # 2560 x 1600 onto 1280 x 800: stripes 8 pixels wide must come out 4 wide, not a grey blur;
        # the right half is red.
        picture = self.path("large.jpg")
        write_jpeg(picture, 2560, 1600, lambda x: (255, 0, 0) if x >= 1280 else (0, 0, 0) if x // 8 % 2 else
                   (255, 255, 255))
        self.point(450, 250)  # on the editor: the panels stay hidden
        self.start_placed(fichero_fondo=winpath(picture))

        def stripes(screen):
            row = [screen.pixel(x, self.ROW) for x in range(8, 600)]
            dark_ones = sum(1 for c in row if dark(c))
            light_ones = sum(1 for c in row if light(c))
            changes = sum(1 for a, b in zip(row, row[1:]) if dark(a) != dark(b))
            return dark_ones, light_ones, changes
        screen = self.drawn(lambda screen: screen, lambda screen: stripes(screen)[2] >= 120)
        dark_ones, light_ones, changes = stripes(screen)
        self.assertGreaterEqual(changes, 120, "stripes 4 pixels wide: about 148 edges in 592 pixels")
        self.assertGreater(dark_ones, 592 // 3)
        self.assertGreater(light_ones, 592 // 3)
        red = screen.pixel(1000, self.ROW)
        self.assertTrue(int(red[0:2], 16) > 0xC0 and int(red[2:4], 16) < 0x40 and int(red[4:6], 16) < 0x40, red)

    def test_switching_the_picture_on_again_shows_the_file_as_it_is_then(self):
        picture = self.path("picture.jpg")
        write_jpeg(picture, 320, 200, lambda x: (0, 0, 255))
        self.point(450, 250)
        editor = self.start_placed(fichero_fondo=winpath(picture))

        def shows(expected):
            def near(c):
                return all(abs(int(c[i:i + 2], 16) - v) < 0x30 for i, v in zip((0, 2, 4), expected))
            return self.drawn(lambda screen: screen.pixel(50, self.ROW), near)
        blue = shows((0, 0, 255))
        self.assertTrue(int(blue[4:6], 16) > 0xC0 and int(blue[2:4], 16) < 0x40, blue)
        self.keys(editor, "^p")  # off
        self.assertEqual(self.wait_reg("fondo", "sz 0"), "sz 0")
        write_jpeg(picture, 320, 200, lambda x: (0, 255, 0))
        self.keys(editor, "^p")  # on: read again
        green = shows((0, 255, 0))
        self.assertTrue(int(green[2:4], 16) > 0xC0 and int(green[4:6], 16) < 0x40, green)

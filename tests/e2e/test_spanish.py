"""The Spanish catalogs the package ships: every message box the program raises in this suite, their
buttons and the help overlay speak Spanish, as the windows hold it and as the screen shows it."""
import os
import shutil

from harness import BUILD, TolvaneCase, dark, unescape
from test_languages import HELP_TEXTS, SAVE_PROMPT
from test_package import CATALOGS, po_entries
from test_startup import AMBIENT, BACKGROUND, CLICK

PROGRAM = po_entries(CATALOGS["locale/es/LC_MESSAGES/default.mo"])
WIDGETS = po_entries(CATALOGS["locale/es/LC_MESSAGES/tolvane-widgets.mo"])
IDOK, IDYES, IDNO = 1, 6, 7


def light(colour):
    return all(int(colour[i:i + 2], 16) >= 0xE0 for i in (0, 2, 4))


class ShippedSpanishTest(TolvaneCase):
    ambient_off = False  # the ambient sound's missing file is one of the messages

    def setUp(self):
        super().setUp()
        shutil.copytree(os.path.join(BUILD, "locale"), self.path("locale"))

    def buttons(self, box):
        """{id: (hwnd, text)} of a message box's buttons."""
        out = {}
        for entry in self.s.cmd("children", box[0]).split("|"):
            parts = entry.split(":", 3)
            if len(parts) == 4 and parts[1] == "Button":
                out[int(parts[2])] = (parts[0], unescape(self.s.cmd("text", parts[0])))
        return out

    def assert_drawn_width(self, hwnd, font, text, inked, inset):
        """The ink drawn inside the window (less an inset that keeps borders and focus marks out) is
        as wide as the text in the window's font: the screen shows this text, not another."""
        x, y, w, h = self.rect(hwnd)
        want = int(self.s.cmd("textwidth", font, text))

        def extent(screen):
            columns = [cx for cx in range(x + inset, x + w - inset)
                       if any(inked(screen.pixel(cx, cy)) for cy in range(y + inset, y + h - inset))]
            return columns[-1] - columns[0] + 1 if columns else 0
        # The ink leaves out the side bearings of the first and last letters, which the width
        # counts, and their edges smoothed lighter than the ink's threshold.
        fits = lambda got: want - 5 <= got <= want  # noqa: E731
        got = self.drawn(extent, fits)
        self.assertTrue(fits(got), "%r: %d px drawn, %d px wide in the font" % (text, got, want))

    def assert_buttons(self, box, expected):
        shown = self.buttons(box)
        self.assertEqual({i: t.replace("&", "") for i, (_, t) in shown.items()}, expected)
        for hwnd, text in shown.values():
            self.assert_drawn_width(hwnd, "message", text.replace("&", ""), dark, 6)

    def test_start_up_messages_and_the_save_prompt(self):
        for m in self.media:
            os.remove(self.path("media", m))
        self.start()
        for english in (AMBIENT, CLICK, BACKGROUND):
            box = self.msgbox()
            self.assertIsNotNone(box, "expected: " + PROGRAM[english])
            self.assertEqual((box[1], box[2]), ("Tolvane", PROGRAM[english]))
            self.assert_box_painted(box)
            self.assert_buttons(box, {IDOK: WIDGETS["OK"]})
            self.answer(box)
        editor = self.editor()
        self.wait_visible("TfContenidoTexto")
        self.keys(editor, "x^q")
        box = self.msgbox()
        self.assertIsNotNone(box, "the save prompt")
        self.assertEqual(box[2], PROGRAM[SAVE_PROMPT])
        self.assert_box_painted(box)
        self.assert_buttons(box, {IDYES: WIDGETS["Yes"], IDNO: WIDGETS["No"]})
        self.answer(box, IDNO)
        self.assertEqual(self.exit_code(), "0")

    def test_help_overlay(self):
        editor = self.start_ready()
        self.keys(editor, "^h")
        overlay = self.wait_visible("TfAyuda", 5000)
        ox, oy, ow, oh = self.rect(overlay)
        labels = []
        for i, english in enumerate(HELP_TEXTS):
            label = self.s.cmd("child", overlay, "STATIC", i)
            self.assertNotEqual(label, "0")
            labels.append((label, english, self.rect(label)))
        self.assertEqual([unescape(self.s.cmd("text", h)) for h, _, _ in labels],
                         [PROGRAM.get(e, e) for e in HELP_TEXTS])
        descriptions = [(h, e, r) for h, e, r in labels if e in PROGRAM]
        self.assertEqual(len(descriptions), len(HELP_TEXTS) // 2, "every description is translated")
        for h, english, (x, y, w, _) in descriptions:
            with self.subTest(label=english):
                self.assert_drawn_width(h, "Tahoma:11", PROGRAM[english], lambda c: not light(c), 0)
                self.assertLessEqual(x + w, ox + ow, "inside the overlay")
                # Clear of the next column's key on the same row.
                after = [r[0] for _, _, r in labels if r[1] == y and r[0] > x]
                self.assertTrue(not after or x + w <= min(after), "overlaps the next column")

"""Hover panels, the placement handles and the keyboard commands of the real program."""
import os
import time

from harness import TolvaneCase, unescape, winpath

TEXT_AREA = {"area_texto.left": 200, "area_texto.top": 100, "area_texto.width": 500, "area_texto.height": 300}


class PanelsTest(TolvaneCase):
    def start_placed(self, area=TEXT_AREA, boxes=False):
        for name, value in area.items():
            self.reg(name, str(value))
        if boxes:
            # Start-up messages (an MCI error without a sound device) are answered.
            self.start()
            box = self.msgbox(3000)
            if box:
                self.answer(box)
            self.wait_visible("TfContenidoTexto")
            editor = self.editor()
        else:
            editor = self.start_ready()
        self.ws = self.window("TfPrincipal")
        self.text = self.window("TfContenidoTexto")
        return editor

    def visible(self, h):
        return self.info(h)["visible"] == "1"

    def wait_visible_state(self, h, state, ms=3000):
        end = time.time() + ms / 1000
        while self.visible(h) != state and time.time() < end:
            time.sleep(0.05)
        return self.visible(h)

    def drag(self, handle, to, steps=4):
        """Drags a handle so that the pointer ends at `to`."""
        x, y, w, h = self.rect(self.control("Node%d" % handle))
        # Pressed on its outer pixels: its inner ones lie under the text window.
        cx = x if handle in (0, 6, 7) else x + w - 1 if handle in (2, 3, 4) else x + w // 2
        cy = y if handle in (0, 1, 2) else y + h - 1 if handle in (4, 5, 6) else y + h // 2
        self.point(cx, cy)
        self.mouse_down()
        for i in range(1, steps + 1):
            self.point(cx + (to[0] - cx) * i // steps, cy + (to[1] - cy) * i // steps)
        self.mouse_up()

    def wait_rect(self, h, expected, ms=3000):
        end = time.time() + ms / 1000
        while self.rect(h) != expected and time.time() < end:
            time.sleep(0.05)
        return self.rect(h)

    # -- panels -----------------------------------------------------------
    def test_pointer_onto_the_workspace_shows_the_panels_beside_the_text_and_the_editor_hides_them(self):
        self.point(450, 250)  # where the editor will be: the panels start hidden
        # The workspace appears under the pointer before the text window does, and shows the panels
        # until the editor's own crossing comes.
        self.pointer_seen(self.start_placed())
        menu, styles = self.control("pMenu"), self.control("pEstilos")
        self.assertFalse(self.visible(menu))
        self.assertFalse(self.visible(styles))
        self.onto_workspace()
        self.assertEqual(self.rect(menu), (702, 100, 105, 370))
        self.assertEqual(self.rect(styles), (165, 100, 33, 370))
        for panel in (menu, styles):
            # On screen: the white face, and the controls drawn on it in colours of their own.
            x, y, w, h = self.rect(panel)

            def face_and_controls(seen):
                total = sum(seen.values())
                return seen.get("ffffff", 0) * 10 > total, len([c for c, n in seen.items()
                                                                  if c != "ffffff" and n * 50 > total])
            seen = self.drawn(lambda screen: screen.colours(x + 3, y + 3, w - 6, h - 6, 2),
                              lambda seen: face_and_controls(seen)[1] >= 2)
            white, controls = face_and_controls(seen)
            self.assertTrue(white, "the panel's white face")
            self.assertGreaterEqual(controls, 2, "controls drawn on it: %s" %
                                    sorted(seen.items(), key=lambda kv: -kv[1])[:5])
            i = self.info(panel)
            w, h = int(i["w"]), int(i["h"])
            # Up to (w - 2, h - 2); the platform may leave the last row and column out.
            self.assertIn(i["rgn"], ("%dx%d" % (w - 2, h - 2), "%dx%d" % (w - 3, h - 3)))
            self.assertEqual(i["corner"], "0", "corners rounded")
        # The handles surround the text window, 2 pixels of each outside it.
        self.assertEqual(self.rect(self.control("Node0"))[:2], (198, 98))
        self.assertEqual(self.rect(self.control("Node3"))[:2], (698, 250))
        self.assertEqual(self.rect(self.control("Node4")), (698, 398, 5, 5))
        # Onto a panel: they stay; onto the margin: they stay; onto the editor: all hide.
        self.point(750, 300)
        self.assertTrue(self.visible(menu))
        self.point(210, 250)
        self.assertTrue(self.visible(menu))
        self.point(450, 250)
        self.assertFalse(self.wait_visible_state(menu, False))
        self.assertFalse(self.visible(styles))
        self.assertFalse(self.visible(self.control("Node0")))

    def test_the_pointer_back_on_the_editor_at_once_hides_the_panels(self):
        # Out to the workspace and straight back, quicker than Wine notices the pointer left.
        self.point(450, 250)
        self.start_placed()
        menu = self.control("pMenu")
        self.onto_workspace()
        self.point(450, 250)
        self.assertFalse(self.wait_visible_state(menu, False))

    def test_command_panel_layout_and_texts(self):
        self.start_placed()
        self.onto_workspace()
        menu = self.control("pMenu")
        expected = {"bNew": (4, 8, 28, 28), "bSalir": (70, 8, 28, 28), "bAbrir": (70, 53, 28, 28),
                    "btnTransparente": (38, 142, 28, 28), "sbVolumen": (1, 210, 101, 28)}
        for name, (x, y, w, h) in expected.items():
            self.assertEqual(self.rect(self.control(name, menu)), (702 + x, 100 + y, w, h), name)
        self.assertEqual(self.s.cmd("text", self.control("lVolumen", menu)), "Ambient volume:")
        self.assertEqual(self.s.cmd("text", self.control("lblTxtMinutos", menu)), "Time to rest:")
        # The break countdown shows the configured minutes (60 by default) on a full bar.
        bar = self.control("pbTiempoDescanso", menu)
        self.assertTrue(self.visible(bar))
        self.assertEqual(self.s.cmd("progress", bar), "pos=59 min=0 max=60",
                         "the first tick has taken one minute off")
        # The counters are kept but never shown; the volume is hidden with the sound off.
        self.assertFalse(self.visible(self.control("lContLineas", menu)))
        self.assertFalse(self.visible(self.control("sbVolumen", menu)))

    def test_text_window_flush_right_puts_the_command_panel_off_screen(self):
        sw, sh = (int(v) for v in self.s.cmd("screen").split())
        self.start_placed({"area_texto.left": sw - 400, "area_texto.top": 50, "area_texto.width": 400,
                           "area_texto.height": 300})
        self.point(sw // 2 - 300, sh - 20)
        menu = self.control("pMenu")
        self.assertTrue(self.wait_visible_state(menu, True))
        self.assertEqual(self.rect(menu)[:2], (sw + 2, 50))
        self.assertEqual(self.rect(self.control("pEstilos"))[:2], (sw - 400 - 35, 50))

    def test_switches_on_the_panel_flip_then_run_their_handler(self):
        self.start_placed()
        self.onto_workspace()
        self.assertEqual(self.regget("transparencia"), "MISSING")
        self.click_control("btnTransparente")
        self.assertEqual(self.wait_reg("transparencia", "sz 1"), "sz 1")
        self.assertEqual(self.info(self.ws)["alpha"], "200")
        # The panels stay up after a click on them; a second click turns it off again.
        self.assertTrue(self.visible(self.control("pMenu")))
        self.click_control("btnTransparente")
        self.assertEqual(self.wait_reg("transparencia", "sz 0"), "sz 0")

    def test_style_panel_applies_bold_face_and_size_to_the_selection(self):
        editor = self.start_placed()
        self.keys(editor, "styled^a")
        self.onto_workspace()
        for name in ("bNegrita", "bFuenteB", "bFuenteG"):
            self.click_control(name)
        # The editor has the focus back: the save goes to it.
        data = self.saved_rtf(editor, "styled.rtf")
        self.assertIn("Courier", data)
        self.assertRegex(data, r"\\fs28")  # 14 points
        self.assertRegex(data, r"\\b[\\ ]")
        self.assertIn("styled", data)

    def test_status_line_counts_follow_a_style_change_and_a_resize(self):
        # A word of m's alone in its paragraph counts once for every display
        # line it spans; the short line below always holds its three words. The
        # number of lines comes from the editor itself.
        editor = self.start_placed()
        typed = "m" * 400 + "\ra b c"
        self.keys(editor, typed.replace("\r", "{ENTER}"))
        self.assertEqual(self.editor_text(editor, typed, ms=15000), typed)
        self.s.cmd("send", editor, 0xB1, 0, -1)  # EM_SETSEL: everything, for the style panel
        self.keys(editor, "^l")

        def counts_follow(unlike=None, ms=5000):
            """The editor's line count, once it is not `unlike` (the program takes the
            click or the drag in its own time) and the status line shows the words and
            lines that go with it."""
            end = time.time() + ms / 1000
            while True:
                lines = int(self.s.cmd("send", editor, 0xBA))  # EM_GETLINECOUNT
                bar = self.s.cmd("child", self.text, "msctls_statusbar32")
                panels = [unescape(p) for p in self.s.cmd("status", bar).split("|")[1:]]
                want = ["1/%d : 1" % lines, "Words: %d" % (lines - 1 + 3)]
                if lines != unlike and panels[1:3] == want:
                    return lines
                if time.time() > end:
                    self.fail("status %s with %d lines (not %s)" % (panels[1:3], lines, unlike))
                time.sleep(0.05)

        first = counts_follow()
        self.onto_workspace()
        self.click_control("bFuenteG")  # a bigger size: the long word takes more lines
        bigger = counts_follow(unlike=first)
        self.assertGreater(bigger, first)
        self.onto_workspace()
        self.click_control("bFuenteP")  # a small size: fewer
        smaller = counts_follow(unlike=bigger)
        self.assertLess(smaller, bigger)
        self.onto_workspace()
        self.click_control("bFuenteB")  # another face; the drag below comes after it
        self.onto_workspace()
        self.drag(3, (420, 250))  # the text window's right edge inwards: more lines
        self.assertEqual(self.wait_rect(self.text, (200, 100, 220, 300)), (200, 100, 220, 300))
        self.assertGreater(counts_follow(), smaller)

    def test_volume_slider_moved_by_the_user_reports_its_position(self):
        self.reg("sonido", "1")
        self.start_placed(boxes=True)
        self.onto_workspace()
        slider = self.control("sbVolumen")
        self.assertTrue(self.visible(slider), "volume shown with the sound on")
        # TBM_GETPOS
        self.assertEqual(self.s.cmd("send", slider, 0x400, 0, 0), "500")
        # A click on the channel left of the thumb pages down by 20.
        x, y, w, h = self.rect(slider)
        self.click_at(x + 6, y + h // 2)
        self.assertEqual(self.s.cmd("send", slider, 0x400, 0, 0), "480")
        # The thumb dragged to the right end: the maximum.
        thumb = x + 7 + (w - 14) * 480 // 1000
        self.point(thumb, y + h // 2)
        self.mouse_down()
        self.point(x + w + 30, y + h // 2)
        self.mouse_up()
        self.assertEqual(self.s.cmd("send", slider, 0x400, 0, 0), "1000")

    # -- handles ----------------------------------------------------------
    def test_handle_drags_move_only_their_edges(self):
        self.start_placed()
        # The dragged edges go to the pointer; the others stay.
        cases = [  # handle, where the pointer ends, rectangle afterwards
            (4, (760, 440), (200, 100, 560, 340)),  # bottom-right corner
            (0, (170, 80), (170, 80, 590, 360)),    # top-left: bottom-right stays
            (1, (600, 50), (170, 50, 590, 390)),    # top edge: sideways ignored
            (7, (220, 300), (220, 50, 540, 390)),   # left edge: up and down ignored
        ]
        for handle, to, expected in cases:
            with self.subTest(handle=handle):
                self.onto_workspace()
                self.drag(handle, to)
                self.assertEqual(self.wait_rect(self.text, expected), expected)
                # The frame follows, and so do the handles around it.
                x, y, w, h = expected
                self.assertEqual(self.rect(self.control("Node4"))[:2], (x + w - 2, y + h - 2))
        # The panels appear beside the new place next time.
        self.point(450, 200)
        self.onto_workspace()
        self.assertEqual(self.rect(self.control("pMenu"))[:2], (220 + 540 + 2, 50))

    def test_a_handle_dragged_past_the_opposite_edge_leaves_a_usable_window(self):
        self.start_placed()
        self.onto_workspace()
        self.drag(3, (20, 250))  # right edge far past the left one
        x, y, w, h = self.wait_rect(self.text, None, ms=500)
        self.assertGreaterEqual(w, 60)
        self.assertGreaterEqual(h, 60)
        self.assertGreaterEqual(x + w, 40, "some of it stays on the screen")
        # And it can still be typed into.
        editor = self.editor()
        self.keys(editor, "still here")
        self.assertEqual(self.editor_text(editor, "still here"), "still here")

    # -- keys -------------------------------------------------------------
    def test_ctrl_alt_letters_do_nothing_and_ctrl_shift_works_like_ctrl(self):
        editor = self.start_placed()
        self.keys(editor, "^%t^%q")
        self.assertEqual(self.regget("transparencia"), "MISSING")
        self.assertEqual(self.exit_code(300), "TIMEOUT", "Ctrl+Alt+Q must not exit")
        self.keys(editor, "^+t")
        self.assertEqual(self.wait_reg("transparencia", "sz 1"), "sz 1")

    def saved_rtf(self, editor, name):
        """The document saved through Save As under a new name, as text."""
        self.keys(editor, "{END}^s")
        box = self.msgbox()
        self.assertIsNotNone(box, "no save dialog")
        target = self.path(name)
        self.s.cmd("setfile", box[0], winpath(target))
        end = time.time() + 5
        while not os.path.exists(target) and time.time() < end:
            time.sleep(0.05)
        return open(target, "rb").read().decode("latin-1")

    def test_ctrl_b_in_the_help_overlay_leaves_the_selected_text_as_it_is(self):
        editor = self.start_placed()
        self.keys(editor, "plain words^a^h")
        help_window = self.window("TfAyuda")
        self.assertTrue(self.wait_visible_state(help_window, True))
        self.keys(help_window, "^b")
        self.keys(help_window, "^h")
        self.assertFalse(self.wait_visible_state(help_window, False))
        data = self.saved_rtf(editor, "plain.rtf")
        self.assertIn("plain words", data)
        self.assertNotRegex(data, r"\\b[\\ 1]", "nothing made bold")

    def test_help_overlay_toggles_and_passes_workspace_commands_on(self):
        editor = self.start_placed()
        help_window = self.window("TfAyuda")
        self.assertFalse(self.visible(help_window))
        self.keys(editor, "^h")
        self.assertTrue(self.wait_visible_state(help_window, True))
        # Centred, 5 pixels above the bottom of the 1280 x 800 workspace, and painted white.
        self.assertEqual(self.rect(help_window), (359, 676, 563, 119))
        self.assertEqual(self.wait_pixel(359 + 3, 676 + 3, "ffffff"), "ffffff")
        # The overlay has the keys now: editor commands and typing do nothing, Ctrl+T still works.
        self.keys(help_window, "x^b^t")
        self.assertEqual(self.wait_reg("transparencia", "sz 1"), "sz 1")
        self.assertEqual(unescape(self.s.cmd("text", editor)), "")
        self.keys(help_window, "^h")
        self.assertFalse(self.wait_visible_state(help_window, False))

    def test_ctrl_s_without_changes_does_nothing_and_ctrl_l_shows_the_status_line(self):
        editor = self.start_placed()
        self.keys(editor, "^s")
        self.assertIsNone(self.msgbox(800), "no changes: no dialog")
        bar = self.s.cmd("child", self.text, "msctls_statusbar32")
        self.keys(editor, "^l")
        self.assertTrue(self.wait_visible_state(bar, True))
        self.keys(editor, "^L")
        self.assertFalse(self.wait_visible_state(bar, False))
        self.keys(editor, "^q")
        self.assertEqual(self.exit_code(), "0")

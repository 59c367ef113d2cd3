"""The configuration window of the real program: opened from the command
panel's "Cfg" button with real pointer input, its live previews seen from
outside (layered alpha, screen pixels), what OK, Save and Cancel keep and
write, the reset of the text area, the file pickers and the colour palette."""
import os
import shutil
import time

import harness
from harness import TolvaneCase, winpath

TCM_GETITEMCOUNT = 0x1304
TCM_SETCURFOCUS = 0x1330
TBM_GETPOS = 0x400
GET_COLOUR = 0x478  # the colour buttons' "which value do you hold"
WS_CAPTION = 0x00C00000
AUTOMATIC = 536870912

TABS = {"Sound": 0, "Background": 1, "Text area": 2, "Break timer": 3, "Other": 4, "About": 5}
PAGES = ("Sound", "Background", "Text area", "Break timer", "Other", "Languages", "About")

# The palette's layout in its client pixels: 8 x 5 cells of 18 pixels, 20 apart,
# from (5, 40); "Automatic" is the row above them.
def cell_centre(i):
    return 5 + (i % 8) * 20 + 9, 40 + (i // 8) * 20 + 9


AUTOMATIC_ROW = (84, 25)
OTHER_ROW = (84, 153)
DRAG_BAR = (84, 6)
RED_CELL, BLUE_CELL, GREEN_CELL = 16, 13, 11  # 0x0000FF, 0xFF0000, 0x008000

# Slider geometry: an 11-pixel thumb, so the track runs from x 5 to width - 6.
THUMB = 11


def slider_value(x, width, maximum):
    travel = width - THUMB
    along = x - THUMB // 2
    if along <= 0:
        return 0
    if along >= travel:
        return maximum
    return (along * maximum + travel // 2) // travel


class ConfigurationCase(TolvaneCase):
    def setUp(self):
        super().setUp()
        self.reg("fondo", "0")  # the colour shows, not the picture

    # -- pointer input -----------------------------------------------------
    def screen_point(self, h, x, y):
        sx, sy = self.s.cmd("toscreen", h, x, y).split()
        return int(sx), int(sy)

    def move_to(self, h, x, y):
        self.point(*self.screen_point(h, x, y))

    def click(self, h, x, y):
        self.click_at(*self.screen_point(h, x, y))

    def wait_info(self, h, key, expected, ms=3000):
        end = time.time() + ms / 1000
        while True:
            i = self.info(h)
            if i.get(key) == expected or time.time() > end:
                return i
            time.sleep(0.05)

    # -- the window ----------------------------------------------------------
    def open_config(self):
        ws = self.window("TfPrincipal")
        button = self.s.cmd("named", ws, "bConfiguracion")
        self.assertNotEqual(button, "0")
        # The pointer on the workspace surface brings the command panel out.
        self.cross_onto_workspace(3, 795)
        self.assertEqual(self.wait_info(button, "visible", "1")["visible"], "1", "command panel shown")
        self.click(button, 14, 14)
        return self.wait_visible("TfConfiguracion", 5000)

    def tab(self, cfg, caption):
        self.s.cmd("send", self.control("PageControl1", cfg), TCM_SETCURFOCUS, TABS[caption], 0)
        page = self.control(caption, cfg)
        self.assertEqual(self.wait_info(page, "visible", "1")["visible"], "1", caption + " page shown")

    def close_with(self, cfg, button_id):
        self.s.cmd("press", cfg, button_id)  # 1 OK, 2 Cancel
        self.assertEqual(self.wait_info(cfg, "visible", "0")["visible"], "0", "the window closed")
        self.settle_ui()  # the close handler has run to its end

    def choose_cell(self, cfg, button, point):
        self.click(button, 17, 11)
        palette = self.s.cmd("waitvisible", "TvColourPalette", self.pid, 3000)
        self.assertNotEqual(palette, "0", "the palette dropped down")
        self.click(palette, *point)
        return palette

    def colour_of(self, button):
        return int(self.s.cmd("send", button, GET_COLOUR, 0, 0))

    def slider(self, h):
        return int(self.s.cmd("send", h, TBM_GETPOS, 0, 0))

    def progress(self, bar):
        return harness.parse_info(self.s.cmd("progress", bar))

    def wait_progress(self, bar, key, expected, ms=5000):
        end = time.time() + ms / 1000
        while True:
            p = self.progress(bar)
            if p[key] == expected or time.time() > end:
                return p
            time.sleep(0.05)


class ConfigurationWindowTest(ConfigurationCase):
    def test_window_is_modal_rounded_see_through_and_reopens_on_the_last_tab(self):
        self.start_ready()
        ws, text = self.window("TfPrincipal"), self.window("TfContenidoTexto")
        stored = self.s.cmd("regkey")  # what the test's set-up put there
        cfg = self.open_config()
        i = self.info(cfg)
        self.assertEqual((i["x"], i["y"], i["w"], i["h"]), ("347", "247", "586", "305"), "centred, 586 x 305")
        self.assertEqual(i["alpha"], "220")
        self.assertEqual(i["rgn"], "585x304")
        self.assertEqual(i["corner"], "0", "rounded outline")
        self.assertEqual(i["topmost"], "1", "in front of the stay-on-top text window")
        self.assertEqual(self.s.cmd("enabled", ws), "0")
        self.assertEqual(self.s.cmd("enabled", text), "0")
        # Six tabs: the Languages page has none, though its list is there.
        self.assertEqual(self.s.cmd("send", self.control("PageControl1", cfg), TCM_GETITEMCOUNT, 0, 0), "6")
        self.assertEqual([self.info(self.control(p, cfg))["visible"] for p in PAGES],
                         ["1", "0", "0", "0", "0", "0", "0"], "the first tab is active")
        self.assertEqual(self.s.cmd("text", self.control("cSonido", cfg)), "Ambient Sound ")
        self.assertEqual(self.s.cmd("text", self.control("lbNombreAplicacion", cfg)), "Tolvane v.0.1.0.1")
        self.assertEqual(self.info(self.control("listaIdiomas", cfg))["visible"], "0")

        self.tab(cfg, "Other")
        self.close_with(cfg, 2)
        self.assertEqual(self.s.cmd("enabled", ws), "1")
        self.assertEqual(self.s.cmd("enabled", text), "1")
        cfg = self.open_config()
        self.assertEqual(self.info(self.control("Other", cfg))["visible"], "1", "reopened on the tab last used")
        self.assertEqual(self.info(self.control("Sound", cfg))["visible"], "0")
        # A close request from the system closes it as Cancel does.
        self.s.cmd("post", cfg, 0x10, 0, 0)  # WM_CLOSE
        self.assertEqual(self.wait_info(cfg, "visible", "0")["visible"], "0")
        self.assertEqual(self.s.cmd("enabled", ws), "1")
        self.assertEqual(self.s.cmd("regkey"), stored, "nothing written")

    def test_colour_previews_at_once_and_cancel_keeps_it_unsaved_and_reapplies(self):
        self.start_ready()
        ws = self.window("TfPrincipal")
        self.assertEqual(self.wait_pixel(5, 790, "ffffff"), "ffffff")
        bar = self.s.cmd("named", ws, "pbTiempoDescanso")
        # The break timer's first tick has taken one of the 60 minutes.
        self.assertEqual(self.wait_progress(bar, "pos", "59")["pos"], "59")
        cfg = self.open_config()
        self.tab(cfg, "Background")
        colour = self.control("colorFondo", cfg)
        palette = self.choose_cell(cfg, colour, cell_centre(RED_CELL))
        self.assertEqual(self.colour_of(colour), 255)
        self.assertEqual(self.s.cmd("find", "TvColourPalette", self.pid), "0", "the drop-down closed on choosing")
        self.assertEqual(self.wait_pixel(5, 790, "ff0000"), "ff0000", "the workspace shows the colour at once")

        # See-through mode is off: the opacity value changes, nothing shows.
        slider = self.control("transparenciaPrincipal", cfg)
        self.click(slider, 40, 13)
        self.assertEqual(self.slider(slider), slider_value(40, 186, 255))
        self.assertEqual(self.info(ws)["alpha"], "none")

        self.close_with(cfg, 2)
        self.assertEqual(self.regget("colorFondo"), "MISSING", "Cancel writes nothing")
        self.assertEqual(self.regget("transparencia_principal"), "MISSING")
        self.assertEqual(self.wait_pixel(5, 790, "ff0000"), "ff0000", "the change stays in force for the run")
        self.assertEqual(self.info(ws)["alpha"], "none")
        # Closing re-applied the settings: the break countdown starts again from the full minutes.
        self.assertEqual(self.wait_progress(bar, "pos", "60")["pos"], "60")
        del palette

    def test_see_through_sliders_preview_while_dragging_and_cancel_applies_the_minutes(self):
        self.reg("transparencia", "1")
        self.start_ready()
        ws = self.window("TfPrincipal")
        text = self.window("TfContenidoTexto")
        self.assertEqual(self.active_info("TfContenidoTexto")["alpha"], "200")
        self.assertEqual(self.info(ws)["alpha"], "200")
        bar = self.s.cmd("named", ws, "pbTiempoDescanso")
        cfg = self.open_config()

        self.tab(cfg, "Background")
        slider = self.control("transparenciaPrincipal", cfg)
        self.move_to(slider, 60, 13)
        self.mouse_down()
        first = slider_value(60, 186, 255)
        self.assertEqual(self.wait_info(ws, "alpha", str(first))["alpha"], str(first), "pressing on the track")
        self.move_to(slider, 150, 13)
        second = slider_value(150, 186, 255)
        self.assertEqual(self.wait_info(ws, "alpha", str(second))["alpha"], str(second), "while dragging")
        self.mouse_up()
        self.assertEqual(self.slider(slider), second)

        self.tab(cfg, "Text area")
        area = self.control("transparenciaAreaTexto", cfg)
        self.click(area, 0, 13)
        self.assertEqual(self.slider(area), 0)
        # Level 0 would let every click through the window on Windows: the least applied is 1.
        self.assertEqual(self.wait_info(text, "alpha", "1")["alpha"], "1", "a slider reaches 0: all but see-through")

        self.tab(cfg, "Break timer")
        minutes = self.control("iMinutos", cfg)
        self.click(minutes, 100, 13)
        m = slider_value(100, 348, 180)
        self.assertEqual(self.slider(minutes), m)
        self.assertEqual(self.progress(bar)["max"], "60", "the minutes wait for the window to close")

        self.close_with(cfg, 2)
        self.assertEqual(self.info(ws)["alpha"], str(second))
        p = self.wait_progress(bar, "max", str(m))
        self.assertEqual((p["max"], p["pos"]), (str(m), str(m)))
        for name in ("transparencia_principal", "transparencia_area_texto", "minutos"):
            self.assertEqual(self.regget(name), "MISSING", name)

    def test_ok_writes_the_whole_table_with_the_automatic_colour(self):
        self.reg("colorFondo", "255")
        self.start_ready()
        self.assertEqual(self.wait_pixel(5, 790, "ff0000"), "ff0000")
        cfg = self.open_config()
        self.tab(cfg, "Background")
        colour = self.control("colorFondo", cfg)
        self.choose_cell(cfg, colour, AUTOMATIC_ROW)
        self.assertEqual(self.colour_of(colour), AUTOMATIC)
        self.assertEqual(self.wait_pixel(5, 790, "ffffff"), "ffffff", "Automatic is the system window colour")
        self.tab(cfg, "Sound")
        self.click(self.control("cKeyboardSound", cfg), 6, 8)  # on at start (its file exists): now off
        self.close_with(cfg, 1)
        self.assertEqual(self.s.cmd("regkey"), "21")
        self.assertEqual(self.regget("colorFondo"), "sz 536870912")
        self.assertEqual(self.regget("version"), "sz 0.1.0.1")
        self.assertEqual(self.regget("sonido_teclado"), "sz 0")
        x, y, w, h = self.rect(self.window("TfContenidoTexto"))
        self.assertEqual([self.regget("area_texto." + k) for k in ("left", "top", "width", "height")],
                         ["sz %d" % v for v in (x, y, w, h)])

    def test_save_writes_and_stays_open_later_changes_are_not_written_by_cancel(self):
        self.start_ready()
        cfg = self.open_config()
        self.tab(cfg, "Background")
        self.choose_cell(cfg, self.control("colorFondo", cfg), cell_centre(BLUE_CELL))
        self.s.cmd("press", cfg, 1001)  # "Save actual configuration"
        self.assertEqual(self.wait_reg("colorFondo", "sz 16711680"), "sz 16711680")
        self.assertEqual(self.info(cfg)["visible"], "1", "the window stays open")
        self.assertEqual(self.s.cmd("text", self.control("bGuardarConfiguracion", cfg)), "Save actual configuration")

        self.tab(cfg, "Text area")
        self.click(self.control("transparenciaAreaTexto", cfg), 100, 13)
        self.tab(cfg, "Background")
        self.choose_cell(cfg, self.control("colorFondo", cfg), cell_centre(GREEN_CELL))
        self.close_with(cfg, 2)
        self.assertEqual(self.regget("colorFondo"), "sz 16711680")
        self.assertEqual(self.regget("transparencia_area_texto"), "sz 200")
        self.assertEqual(self.wait_pixel(5, 790, "008000"), "008000")

    def test_reset_places_the_text_window_and_the_frame_and_saves_nothing(self):
        for name, value in (("area_texto.top", "300"), ("area_texto.left", "10"), ("area_texto.width", "400"),
                            ("area_texto.height", "200")):
            self.reg(name, value)
        self.start_ready()
        text = self.window("TfContenidoTexto")
        self.assertEqual(self.rect(text), (10, 300, 400, 200))
        cfg = self.open_config()
        self.tab(cfg, "Text area")
        reset = self.control("JvXPButton1", cfg)
        self.assertEqual(self.s.cmd("text", reset), "Reset text area dimensions")
        self.click(reset, 90, 12)
        # 1280 wide: left 128, top 50, 1024 x 632; the hidden frame covers it.
        end = time.time() + 3
        while self.rect(text) != (128, 50, 1024, 632) and time.time() < end:
            time.sleep(0.05)
        self.assertEqual(self.rect(text), (128, 50, 1024, 632))
        mover = self.s.cmd("named", self.window("TfPrincipal"), "pMover")
        self.assertNotEqual(mover, "0")
        self.assertEqual(self.rect(mover), (128, 50, 1024, 632))
        self.assertEqual(self.regget("area_texto.left"), "sz 10", "nothing saved yet")
        self.close_with(cfg, 1)
        self.assertEqual(self.regget("area_texto.left"), "sz 128")
        self.assertEqual(self.regget("area_texto.height"), "sz 632")

    def test_file_pickers_fill_the_fields_with_the_chosen_paths(self):
        os.makedirs(self.path("more"))
        other_wav = self.path("more", "other.wav")
        shutil.copy(os.path.join(harness.FIXTURES, "click.wav"), other_wav)
        picture = self.path("more", "picture.jpg")
        shutil.copy(os.path.join(harness.FIXTURES, "fondo.jpg"), picture)
        self.start_ready()
        cfg = self.open_config()

        field = self.control("sFicheroSonidoClick", cfg)
        before = self.s.cmd("text", field)
        self.click(field, 40, 10)
        dlg = self.s.cmd("waitvisible", "#32770", self.pid, 5000)
        self.assertNotEqual(dlg, "0", "a click into the field opens the picker")
        self.assertNotEqual(self.s.cmd("named", dlg, "wav Files"), "0", "the wav filter")
        self.s.cmd("press", dlg, 2)
        self.assertEqual(self.wait_info(dlg, "visible", "0")["visible"], "0")
        self.assertEqual(self.s.cmd("text", field), before, "a cancelled picker changes nothing")

        self.click(field, 40, 10)
        dlg = self.s.cmd("waitvisible", "#32770", self.pid, 5000)
        self.s.cmd("setfile", dlg, winpath(other_wav))
        end = time.time() + 3
        while self.s.cmd("text", field) == before and time.time() < end:
            time.sleep(0.05)
        self.assertEqual(self.s.cmd("text", field), winpath(other_wav).replace("\\", "\\\\"))

        self.tab(cfg, "Background")
        image = self.control("sFicheroImagenFondo", cfg)
        self.click(image, 40, 10)
        dlg = self.s.cmd("waitvisible", "#32770", self.pid, 5000)
        self.assertNotEqual(self.s.cmd("named", dlg, "Jpeg Images"), "0", "the picture filter")
        size = self.s.cmd("named", dlg, "(None)")
        self.assertNotEqual(size, "0", "the picture preview beside the list")
        name_box = self.s.cmd("child", dlg, "Edit")
        self.assertNotEqual(name_box, "0")
        self.s.cmd("settext", name_box, winpath(picture))
        end = time.time() + 3
        while self.s.cmd("text", size) != "(160 x 100)" and time.time() < end:
            time.sleep(0.05)
        self.assertEqual(self.s.cmd("text", size), "(160 x 100)", "the typed picture is previewed")
        self.s.cmd("setfile", dlg, winpath(picture))
        end = time.time() + 3
        while self.s.cmd("text", image) != winpath(picture).replace("\\", "\\\\") and time.time() < end:
            time.sleep(0.05)

        self.tab(cfg, "Other")
        self.click(self.control("sFicheroTemporal", cfg), 40, 10)
        dlg = self.s.cmd("waitvisible", "#32770", self.pid, 5000)
        self.assertNotEqual(self.s.cmd("named", dlg, "Tmp files"), "0", "the temporary-file filter")
        self.s.cmd("press", dlg, 2)
        self.wait_info(dlg, "visible", "0")

        self.close_with(cfg, 1)
        self.assertEqual(self.regget("fichero_sonido_click"), "sz " + winpath(other_wav).replace("\\", "\\\\"))
        self.assertEqual(self.regget("fichero_fondo"), "sz " + winpath(picture).replace("\\", "\\\\"))

    def test_palette_torn_off_floats_and_sets_the_colour_at_every_choice(self):
        self.start_ready()
        cfg = self.open_config()
        self.tab(cfg, "Background")
        colour = self.control("colorFondo", cfg)
        self.click(colour, 17, 11)
        palette = self.s.cmd("waitvisible", "TvColourPalette", self.pid, 3000)
        self.assertNotEqual(palette, "0")
        self.move_to(palette, *DRAG_BAR)
        self.mouse_down()
        sx, sy = self.screen_point(palette, *DRAG_BAR)
        for step in (10, 30, 60):
            self.point(sx - step * 3, sy + step)
        self.mouse_up()
        i = self.info(palette)
        self.assertEqual(i["visible"], "1")
        self.assertEqual(self.s.cmd("text", palette), "Color Window")
        self.assertTrue(int(i["style"], 16) & WS_CAPTION == WS_CAPTION, "a floating window with a caption")

        self.click(palette, *cell_centre(RED_CELL))
        self.assertEqual(self.colour_of(colour), 255)
        self.assertEqual(self.wait_pixel(5, 790, "ff0000"), "ff0000")
        self.click(palette, *cell_centre(BLUE_CELL))
        self.assertEqual(self.colour_of(colour), 16711680)
        self.assertEqual(self.wait_pixel(5, 790, "0000ff"), "0000ff")
        self.assertEqual(self.info(palette)["visible"], "1", "it stays open")

        self.close_with(cfg, 2)
        self.assertEqual(self.s.cmd("find", "TvColourPalette", self.pid), "0", "it goes with the window")


    def test_other_colors_opens_the_system_dialog_whose_colour_replaces_automatic(self):
        self.reg("colorFondo", str(AUTOMATIC))
        self.start_ready()
        cfg = self.open_config()
        self.tab(cfg, "Background")
        colour = self.control("colorFondo", cfg)
        self.assertEqual(self.colour_of(colour), AUTOMATIC)
        self.choose_cell(cfg, colour, OTHER_ROW)
        dlg = self.s.cmd("waitvisible", "#32770", self.pid, 5000)
        self.assertNotEqual(dlg, "0", "the system colour dialog")
        self.assertEqual(self.s.cmd("find", "TvColourPalette", self.pid), "0", "the drop-down made way for it")
        self.s.cmd("press", dlg, 1)
        end = time.time() + 3
        while self.colour_of(colour) == AUTOMATIC and time.time() < end:
            time.sleep(0.05)
        # The dialog starts from the colour shown (the system window colour) and OK keeps it, as a colour.
        self.assertEqual(self.colour_of(colour), 0xFFFFFF)
        self.close_with(cfg, 1)
        self.assertEqual(self.regget("colorFondo"), "sz 16777215")


class ConfigurationSoundTest(ConfigurationCase):
    """The ambient sound restarts on closing only when its file was changed."""

    ambient_off = False

    def lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            return [l.split(" ", 1)[0] for l in f.read().splitlines() if l]

    def opens(self, expected, ms=5000):
        end = time.time() + ms / 1000
        while True:
            n = self.lines().count("MCI_OPEN")
            if n == expected or time.time() > end:
                return n
            time.sleep(0.05)

    def test_a_new_ambient_file_restarts_the_sound_an_untouched_one_does_not(self):
        shutil.copy(os.path.join(harness.FIXTURES, "click.wav"), self.path("media", "ambient.wav"))
        os.makedirs(self.path("more"))
        shutil.copy(os.path.join(harness.FIXTURES, "click.wav"), self.path("more", "other.wav"))
        self.reg("sonido", "1")
        self.reg("fichero_sonido", winpath(self.path("media", "ambient.wav")))
        self.log = self.path("sound.log")
        cmdline = '"%s"' % winpath(self.path("Tolvane.exe"))
        self.pid = self.s.cmd("launchenv", winpath(self.dir), cmdline, "TOLVANE_TEST_MCI_LOG=" + winpath(self.log))
        self.assertTrue(self.pid.isdigit(), self.pid)
        self.wait_visible("TfContenidoTexto")
        self.assertIsNone(self.msgbox(0), "the WAV opened through MCI")
        self.assertEqual(self.opens(1), 1, "start-up opens the ambient file")

        cfg = self.open_config()
        self.close_with(cfg, 2)
        self.assertEqual(self.lines().count("MCI_OPEN"), 1, "an untouched file is not started again")

        cfg = self.open_config()
        field = self.control("sFicheroSonidoAmbiente", cfg)
        self.click(field, 40, 10)
        dlg = self.s.cmd("waitvisible", "#32770", self.pid, 5000)
        self.assertNotEqual(self.s.cmd("named", dlg, "mp3 Files"), "0", "the mp3 filter")
        # Typed names are not held to the filter.
        self.s.cmd("setfile", dlg, winpath(self.path("more", "other.wav")))
        end = time.time() + 3
        while "other.wav" not in self.s.cmd("text", field) and time.time() < end:
            time.sleep(0.05)
        self.close_with(cfg, 1)
        self.assertEqual(self.opens(2), 2, "OK with a new file restarts the sound when the window closes")
        self.assertEqual(self.regget("fichero_sonido"),
                         "sz " + winpath(self.path("more", "other.wav")).replace("\\", "\\\\"))

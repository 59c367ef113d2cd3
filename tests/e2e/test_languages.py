"""Spanish message catalogs: resource-string messages and the help overlay."""
import os
import shutil
import struct
import subprocess

from harness import TolvaneCase, unescape, winpath

BACKGROUND = ("I can't find background image file, backgraund image option has been disabled. "
              "Please check your configuration.")
SAVE_PROMPT = "Do you want to save document changes?"

# The overlay's labels in creation order: per row the key, then its description.
HELP_TEXTS = [
    "Ctrl + N:", "New document", "Ctrl + S:", "Save/Save as", "Ctrl + O:", "Open document", "Ctrl + Q:", "Exit",
    "Ctrl + B:", "Bold style (on/off)", "Ctrl + K:", "Italic style (on/off)", "Ctrl + U:",
    "Underlined style (on/off)", "Ctrl + L:", "Status bar (on/off)", "Ctrl + D:", "Insert date and time string",
    "Ctrl + M:", "Ambient Sound on/off", "Ctrl + T:", "Transparecence on/off", "Ctrl + P:",
    "Background image on/off", "Ctrl + J:", "Click sound on/off",
]

# A bare line feed must reach the box as CR LF; accents must survive the trip.
SPANISH = {
    BACKGROUND: "No encuentro el fichero de la imagen de fondo;\nla opción imagen de fondo se ha desactivado.",
    SAVE_PROMPT: "¿Quiere guardar los cambios del documento?",
    "New document": "Documento nuevo",
    "Ctrl + N:": "Ctrl + N (nuevo):",
    "Bold style (on/off)": "Negrita (sí/no)",
    "Help": "Ayuda",
}
WIDGETS = {BACKGROUND: "Falta la imagen de fondo (traducción del juego de controles).",
           "New document": "Nuevo (juego de controles)"}


def mo_file(entries, charset="UTF-8", big_endian=False):
    """A GNU .mo image with sorted originals and no hash table."""
    header = "Content-Type: text/plain; charset=%s\nContent-Transfer-Encoding: 8bit\n" % charset
    items = {"": header}
    items.update(entries)
    keys = sorted(items, key=lambda k: k.encode("utf-8"))
    n = len(keys)
    order = ">" if big_endian else "<"
    originals_at, translations_at = 28, 28 + 8 * n
    data_at = 28 + 16 * n
    table_o, table_t, blob = b"", b"", b""
    for k in keys:
        raw = k.encode("utf-8")
        table_o += struct.pack(order + "II", len(raw), data_at + len(blob))
        blob += raw + b"\0"
    for k in keys:
        raw = items[k].encode("utf-8")
        table_t += struct.pack(order + "II", len(raw), data_at + len(blob))
        blob += raw + b"\0"
    head = struct.pack(order + "7I", 0x950412DE, 0, n, originals_at, translations_at, 0, data_at)
    return head + table_o + table_t + blob


def po_quote(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n")


def msgfmt_file(entries, workdir):
    """The same catalog compiled by msgfmt (with its hash table), or None without msgfmt."""
    if not shutil.which("msgfmt"):
        return None
    po = ['msgid ""', 'msgstr "Content-Type: text/plain; charset=UTF-8\\n"', ""]
    for original, translation in entries.items():
        po += ["msgid " + po_quote(original), "msgstr " + po_quote(translation), ""]
    src, out = os.path.join(workdir, "es.po"), os.path.join(workdir, "es.mo")
    with open(src, "w", encoding="utf-8") as f:
        f.write("\n".join(po))
    subprocess.run(["msgfmt", "-o", out, src], check=True, timeout=30)
    with open(out, "rb") as f:
        return f.read()


def expected(catalog, text):
    return catalog.get(text, text).replace("\n", "\r\n")


NOT_A_CATALOG = "This file is not a valid GNU gettext mo file: "


class LanguagesTest(TolvaneCase):
    def setUp(self):
        super().setUp()
        # Without the picture the start-up shows the background message: a resource string.
        os.remove(self.path("media", "fondo.jpg"))

    def tearDown(self):
        super().tearDown()
        self.s.cmd("lock", "")  # lets go of a catalog held by a case

    def catalog_path(self, domain):
        return self.path("locale", "es", "LC_MESSAGES", domain + ".mo")

    def put_catalogs(self, catalogs):
        shutil.rmtree(self.path("locale"), ignore_errors=True)
        for domain, data in catalogs.items():
            os.makedirs(os.path.dirname(self.catalog_path(domain)), exist_ok=True)
            with open(self.catalog_path(domain), "wb") as f:
                f.write(data)

    def box(self, caption, text):
        box = self.msgbox()
        self.assertIsNotNone(box, "expected: " + text)
        self.assertEqual((box[1], box[2]), (caption, text))
        self.answer(box)

    def background_box(self, text):
        self.box("Tolvane", text)

    def overlay(self):
        """(caption, label texts) of the help overlay, which exists hidden from start-up."""
        h = self.window("TfAyuda")
        labels = []
        for i in range(len(HELP_TEXTS)):
            label = self.s.cmd("child", h, "STATIC", i)
            self.assertNotEqual(label, "0")
            labels.append(unescape(self.s.cmd("text", label)))
        self.assertEqual(self.s.cmd("child", h, "STATIC", len(HELP_TEXTS)), "0", "no other labels")
        return unescape(self.s.cmd("text", h)), labels

    def label_width(self, index):
        return int(self.info(self.s.cmd("child", self.window("TfAyuda"), "STATIC", index))["w"])

    def exit_through_save_prompt(self, editor, prompt):
        """Types, asks to exit, answers No to the save prompt; the program must end."""
        self.keys(editor, "x")
        self.keys(editor, "^q")
        box = self.msgbox()
        self.assertIsNotNone(box, "expected the save prompt")
        self.assertEqual((box[1], box[2]), ("Tolvane", prompt))
        self.answer(box, 7)  # IDNO
        self.assertEqual(self.exit_code(), "0")

    def fresh_start(self):
        """Ends what an earlier failed subtest left running and lets go of any held catalog."""
        if self.pid:
            self.s.cmd("kill", self.pid)
            self.pid = None
        self.s.cmd("lock", "")

    def test_spanish_catalog_translates_messages_and_the_help_overlay(self):
        long_text = "Insertar en el texto la fecha y la hora de este momento, con el formato del usuario"
        catalog = dict(SPANISH, **{"Insert date and time string": long_text})
        # The catalog language is Spanish whatever the stored language setting says.
        for setting in ("en", ""):
            with self.subTest(language=setting):
                self.fresh_start()
                self.put_catalogs({"default": mo_file(catalog)})
                self.reg("language", setting)
                self.start()
                self.background_box(expected(catalog, BACKGROUND))
                editor = self.editor()
                self.wait_visible("TfContenidoTexto")
                caption, labels = self.overlay()
                self.assertEqual(caption, "Ayuda")
                self.assertEqual(labels, [expected(catalog, t) for t in HELP_TEXTS])
                self.assertEqual(self.s.cmd("prop", self.window("TfAyuda"), "GNUgettextMarker"), "atom es")
                # Each label as wide as its own text: a long translation is not cut
                # to a fixed box, and a short one does not cover its neighbour.
                long_label = HELP_TEXTS.index("Insert date and time string")
                self.assertGreater(self.label_width(long_label), 2 * self.label_width(HELP_TEXTS.index("Exit")))
                self.assertGreater(self.label_width(long_label), 250)
                self.assertLess(self.label_width(HELP_TEXTS.index("Exit")), 184 - 64)
                # Later messages come from the catalog held open since start-up.
                self.exit_through_save_prompt(editor, SPANISH[SAVE_PROMPT])

    def test_which_catalogs_answer(self):
        spanish = mo_file(SPANISH)
        widgets = mo_file(WIDGETS)
        english = HELP_TEXTS
        overlay_es = [expected(SPANISH, t) for t in HELP_TEXTS]
        without_background = {k: v for k, v in SPANISH.items() if k != BACKGROUND}
        default_path = winpath(self.catalog_path("default"))
        broken = ("Tolvane", NOT_A_CATALOG + default_path)
        cases = [
            # name, catalogs, locked domain, complaint box, background message, overlay labels
            ("no locale folder", {}, None, None, BACKGROUND, english),
            ("only the widget domain", {"tolvane-widgets": widgets}, None, None, expected(WIDGETS, BACKGROUND),
             english),
            ("both domains: default wins", {"default": spanish, "tolvane-widgets": widgets}, None, None,
             expected(SPANISH, BACKGROUND), overlay_es),
            ("default lacks the text: the widget domain answers",
             {"default": mo_file(without_background), "tolvane-widgets": widgets}, None, None,
             expected(WIDGETS, BACKGROUND), overlay_es),
            ("big-endian catalog", {"default": mo_file(SPANISH, big_endian=True)}, None, None,
             expected(SPANISH, BACKGROUND), overlay_es),
            ("garbage default.mo", {"default": b"\x00garbage, not a catalog\xff" * 40}, None, broken, BACKGROUND,
             english),
            ("truncated default.mo", {"default": spanish[:len(spanish) // 2]}, None, broken, BACKGROUND, english),
            ("header only default.mo", {"default": spanish[:28]}, None, broken, BACKGROUND, english),
            ("empty default.mo", {"default": b""}, None, broken, BACKGROUND, english),
            ("default.mo held open by another program", {"default": spanish}, "default",
             ("Tolvane", "Cannot open file " + default_path), BACKGROUND, english),
            ("broken default.mo, widget domain still answers",
             {"default": spanish[:len(spanish) - 7], "tolvane-widgets": widgets}, None, broken,
             expected(WIDGETS, BACKGROUND), english),
        ]
        for name, catalogs, locked, complaint, background, labels in cases:
            with self.subTest(name):
                self.fresh_start()
                self.put_catalogs(catalogs)
                if locked:
                    self.assertEqual(self.s.cmd("lock", winpath(self.catalog_path(locked))), "locked")
                self.start()
                if complaint:
                    self.box(*complaint)
                self.background_box(background)
                self.assertIsNone(self.msgbox(300), "no further message")
                editor = self.editor()
                self.wait_visible("TfContenidoTexto")
                self.assertEqual(self.overlay()[1], labels)
                # Still alive and answering after a broken catalog.
                self.keys(editor, "ok")
                self.assertEqual(self.editor_text(editor, "ok"), "ok")

    def buttons(self, box):
        """The texts of a message box's buttons by their ids."""
        out = {}
        for entry in self.s.cmd("children", box[0]).split("|"):
            parts = entry.split(":", 3)
            if len(parts) == 4 and parts[1] == "Button":
                out[int(parts[2])] = unescape(self.s.cmd("text", parts[0]))
        return out

    def test_message_box_buttons_come_from_the_widget_domain(self):
        buttons = {"OK": "Aceptar", "Yes": "Sí", "No": "Ahora no"}
        spanish = mo_file(SPANISH)
        cases = [
            # name, catalogs, OK, Yes, No as shown (access keys aside)
            ("widget domain translates them", {"default": spanish, "tolvane-widgets": mo_file(buttons)},
             "Aceptar", "Sí", "Ahora no"),
            ("only the program's domain: English buttons", {"default": spanish}, "OK", "Yes", "No"),
        ]
        for name, catalogs, ok, yes, no in cases:
            with self.subTest(name):
                self.fresh_start()
                self.put_catalogs(catalogs)
                self.start()
                box = self.msgbox()
                self.assertIsNotNone(box, "the background message")
                self.assertEqual(box[2], expected(SPANISH, BACKGROUND))
                self.assertEqual(self.buttons(box), {1: ok})
                self.answer(box, 1)
                editor = self.editor()
                self.wait_visible("TfContenidoTexto")
                self.keys(editor, "x^q")
                box = self.msgbox()
                self.assertIsNotNone(box, "the save prompt")
                self.assertEqual(box[2], SPANISH[SAVE_PROMPT])
                shown = self.buttons(box)
                # Each keeps an access key, as the system's own labels do.
                self.assertTrue(all(t.startswith("&") for t in shown.values()), shown)
                self.assertEqual({i: t.replace("&", "") for i, t in shown.items()}, {6: yes, 7: no})
                # Pressed by its id, whatever it reads.
                self.answer(box, 7)
                self.assertEqual(self.exit_code(), "0")

    def test_catalog_compiled_by_msgfmt(self):
        data = msgfmt_file(SPANISH, self.dir)
        self.assertIsNotNone(data, "msgfmt is installed by the set-up")
        self.put_catalogs({"default": data})
        self.start()
        self.background_box(expected(SPANISH, BACKGROUND))
        editor = self.editor()
        self.wait_visible("TfContenidoTexto")
        self.assertEqual(self.overlay(), ("Ayuda", [expected(SPANISH, t) for t in HELP_TEXTS]))
        self.exit_through_save_prompt(editor, SPANISH[SAVE_PROMPT])

    def goes_on_in_english(self):
        """After the complaint about the catalog: no further box, English texts, and the save
        prompt still comes, so the program can end."""
        self.background_box(BACKGROUND)
        self.assertIsNone(self.msgbox(300))
        editor = self.editor()
        self.wait_visible("TfContenidoTexto")
        self.assertEqual(self.overlay(), ("Help", HELP_TEXTS))
        self.exit_through_save_prompt(editor, SAVE_PROMPT)

    def test_damaged_catalog_is_reported_once_and_the_program_goes_on_in_english(self):
        self.put_catalogs({"default": mo_file(SPANISH)[:-3]})
        self.start()
        self.box("Tolvane", NOT_A_CATALOG + winpath(self.catalog_path("default")))
        self.goes_on_in_english()

    def test_catalog_without_utf8_is_reported_once_and_turned_off(self):
        self.put_catalogs({"default": mo_file(SPANISH, charset="ISO-8859-1")})
        self.start()
        path = winpath(self.catalog_path("default"))
        self.box("Localization problem",
                 "The translation for the language code es (in %s) does not have charset=utf-8 "
                 "in its Content-Type. Translations are turned off." % path)
        # The domain stays off: English texts, and the complaint is not repeated.
        self.goes_on_in_english()

"""Ambient sound, key click and the rest window of the real program.

Every MCI command and click request is followed through the sound log
(TOLVANE_TEST_MCI_LOG), so the tests see the loop, the volume and the click
also on a machine without a sound card: the harness gives every program a
null ALSA device, on which playback runs and ends as on a sound card.
"""
import os
import re
import shutil
import time
import unittest

import harness
from harness import TolvaneCase, winpath

INVALID = "I can't find %s file, %s option has been disabled. Please check your configuration."
AMBIENT = INVALID % ("ambient sound", "ambient sound")
CLICK = INVALID % ("audible keyboard sound", "audible keyboard")

REST_TEXT1 = "To keep your productivity high it is important to take short breaks."
REST_TEXT2 = ("Leave the computer, get up and walk, look out the window, do whatever you want without touching "
              "the keyboard, but take a break for a few minutes.")

LINE = re.compile(r"^(\S+) (.*)$")


def fields(line):
    """'MCI_PLAY dev=1 flags=0x1 result=0' -> ('MCI_PLAY', {'dev': '1', ...})."""
    m = LINE.match(line)
    name, rest = m.group(1), m.group(2)
    out = dict(re.findall(r'(\w+)=("[^"]*"|\S+)', rest))
    return name, {k: v.strip('"') for k, v in out.items()}


class SoundCase(TolvaneCase):
    # The ambient file the settings name: a short WAV, which Wine's MCI opens
    # without a decoder, unless a test asks for the MP3.
    ambient = "wav"
    ambient_off = False  # these tests choose the ambient file themselves

    def setUp(self):
        super().setUp()
        self.log = self.path("sound.log")
        if self.ambient == "wav":
            shutil.copy(os.path.join(harness.FIXTURES, "click.wav"), self.path("media", "ambient.wav"))
            self.reg("fichero_sonido", winpath(self.path("media", "ambient.wav")))

    def launch(self, *env, divisor=None):
        """Starts the program with the sound log (and, given a divisor, its timers sped up)."""
        env = ["TOLVANE_TEST_MCI_LOG=" + winpath(self.log)] + list(env)
        if divisor:
            env.append("TOLVANE_TEST_TIMER_DIVISOR=%d" % divisor)
        cmdline = '"%s"' % winpath(self.path("Tolvane.exe"))
        self.pid = self.s.cmd("launchenv", winpath(self.dir), cmdline, *env)
        self.assertTrue(self.pid.isdigit(), self.pid)

    def ready(self):
        self.wait_visible("TfContenidoTexto")
        return self.editor()

    def lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, "rb") as f:
            data = f.read()
        # The program may be writing a line as it is read: only whole lines count.
        data = data[:data.rfind(b"\n") + 1]
        return [fields(l) for l in data.decode("utf-8").splitlines() if l]

    def wait_lines(self, test, ms=3000):
        end = time.time() + ms / 1000
        while True:
            ls = self.lines()
            if test(ls) or time.time() > end:
                return ls
            time.sleep(0.05)

    def named(self, name, ls=None):
        return [f for n, f in (self.lines() if ls is None else ls) if n == name]

    def expect_box(self, text, ms=5000):
        box = self.msgbox(ms)
        self.assertIsNotNone(box, "expected: " + text)
        self.assertEqual(box[2], text)
        self.answer(box)

    def settle(self, ms=None):
        """Waits for the program to handle what is queued; with ms, also watches that long for
        what would come later by itself (a notification of the player)."""
        self.settle_ui()
        if ms:
            time.sleep(ms / 1000)

    def write_all_settings(self, editor):
        """Ctrl+T flips see-through and so writes the whole table."""
        self.keys(editor, "^t")
        self.settle()


class AmbientSwitchTest(SoundCase):
    def test_ctrl_m_flips_the_sound_writes_the_table_and_starts_or_stops_the_player(self):
        self.launch()
        editor = self.ready()
        opened = self.wait_lines(lambda ls: self.named("MCI_PLAY", ls))
        self.assertEqual(len(self.named("MCI_OPEN", opened)), 1, "start-up opens the file once")
        self.assertEqual(self.regget("sonido"), "MISSING", "nothing written at start-up")

        self.keys(editor, "^m")
        ls = self.wait_lines(lambda ls: self.named("MCI_CLOSE", ls))
        self.assertEqual(self.regget("sonido"), "sz 0")
        self.assertEqual(self.regget("sonido_teclado"), "sz 1", "the whole table is written")
        closes = self.named("MCI_CLOSE", ls)
        self.assertEqual(len(closes), 1)
        self.assertEqual(closes[0]["flags"], "0x00000002", "MCI_WAIT")
        self.assertEqual(len(self.named("MCI_OPEN", ls)), 1, "switching off opens nothing")

        self.keys(editor, "^m")
        ls = self.wait_lines(lambda ls: len(self.named("MCI_OPEN", ls)) == 2)
        self.assertEqual(self.regget("sonido"), "sz 1")
        self.assertEqual(len(self.named("MCI_OPEN", ls)), 2, "switching on starts the file anew")
        self.assertIsNone(self.msgbox(200))

    def test_ctrl_m_with_the_file_gone_tells_and_changes_nothing(self):
        self.launch()
        editor = self.ready()
        self.wait_lines(lambda ls: self.named("MCI_PLAY", ls))
        os.remove(self.path("media", "ambient.wav"))
        before = self.lines()
        self.keys(editor, "^m")
        self.expect_box(AMBIENT)
        self.settle()
        self.assertEqual(self.regget("sonido"), "MISSING", "nothing saved")
        # The loop goes on playing; nothing is opened or closed.
        for command in ("MCI_OPEN", "MCI_CLOSE"):
            self.assertEqual(len(self.named(command)), len(self.named(command, before)), command)
        self.write_all_settings(editor)
        self.assertEqual(self.regget("sonido"), "sz 1", "the setting stays on")

    def test_volume_commands_carry_the_documented_constants(self):
        self.launch()
        editor = self.ready()
        self.wait_lines(lambda ls: self.named("MCI_PLAY", ls))
        names = [n for n, _ in self.lines()]
        vols = self.named("MCI_SETAUDIO")
        self.assertTrue(vols)
        for v in vols:
            self.assertEqual((v["flags"], v["item"]), ("0x01800000", "0x4002"), "ITEM | VALUE, the volume item")
        # The slider's first position, set when the workspace is created, is sent before any device
        # is open: the command fails, quietly.
        self.assertEqual((vols[0]["dev"], vols[0]["value"]), ("0", "500"))
        self.assertNotEqual(vols[0]["result"], "0")
        self.assertIsNone(self.msgbox(200))
        opened = self.named("MCI_OPEN")[0]
        self.assertEqual(opened["flags"], "0x00000202", "MCI_WAIT | MCI_OPEN_ELEMENT, no type named")
        # The open device gets the slider's level before it plays.
        device = self.named("MCI_STATUS")[0]["dev"]
        between = self.lines()[names.index("MCI_OPEN"):names.index("MCI_PLAY")]
        self.assertEqual([(f["dev"], f["value"]) for n, f in between if n == "MCI_SETAUDIO"], [(device, "500")])
        play = self.named("MCI_PLAY")[0]
        self.assertEqual(play["flags"], "0x00000001", "MCI_NOTIFY without MCI_WAIT")
        self.keys(editor, "ok")
        self.assertEqual(self.editor_text(editor, "ok"), "ok")


class AmbientMp3Test(SoundCase):
    ambient = "mp3"

    def start_and_read_open(self):
        self.launch()
        ls = self.wait_lines(lambda ls: self.named("MCI_OPEN", ls), 15000)
        opens = self.named("MCI_OPEN", ls)
        self.assertEqual(len(opens), 1)
        return opens[0]

    def test_the_mp3_opens_and_plays_without_a_word(self):
        opened = self.start_and_read_open()
        self.assertEqual(opened["result"], "0")
        self.assertEqual(self.named("MCI_PLAY", self.wait_lines(lambda ls: self.named("MCI_PLAY", ls)))[0]
                         ["flags"], "0x00000001")
        self.ready()
        self.assertIsNone(self.msgbox(0), "an MP3 that opens plays without a word")

    def test_the_mp3_loops(self):
        # The fixture lasts about a second: a few seconds bring several plays, each after a
        # successful notice of the one before.
        self.start_and_read_open()
        self.ready()
        ls = self.wait_lines(lambda ls: len(self.named("MCI_PLAY", ls)) >= 3, 10000)
        self.assertGreaterEqual(len(self.named("MCI_PLAY", ls)), 3, "the loop goes on: %r" %
                                [n for n, _ in ls if n != "sndPlaySound"])

    def test_an_mp3_that_cannot_open_shows_the_mci_error_and_the_option_stays_on(self):
        shutil.copy(os.path.join(harness.FIXTURES, "empty.bin"), self.path("media", "sonido.mp3"))
        opened = self.start_and_read_open()
        self.assertNotEqual(opened["result"], "0")
        self.assertTrue(opened["error"])
        self.expect_box(opened["error"])
        editor = self.ready()
        self.assertEqual(self.named("MCI_PLAY"), [], "nothing to play")
        self.write_all_settings(editor)
        self.assertEqual(self.regget("sonido"), "sz 1", "switch and setting stay on after a failed open")
        # Tried again on every start of the sound, with the same text.
        self.keys(editor, "^m")
        self.settle()
        self.keys(editor, "^m")
        self.expect_box(opened["error"])
        self.assertEqual(len(self.named("MCI_OPEN")), 2)

    def test_broken_ambient_files_give_the_mci_text_and_typing_goes_on(self):
        cases = (("empty.bin", "sonido.mp3"), ("truncated.mp3", "sonido.mp3"), ("noaudio.mp3", "sonido.mp3"),
                 ("notriff.wav", "sonido.wav"), ("truncated.wav", "sonido.wav"), ("empty.bin", "sonido.wav"),
                 ("nodata.wav", "sonido.wav"))
        for fixture, name in cases:
            with self.subTest(fixture=fixture, name=name):
                self.s.cmd("regclear")
                if os.path.exists(self.log):
                    os.remove(self.log)
                shutil.copy(os.path.join(harness.FIXTURES, fixture), self.path("media", name))
                if name != "sonido.mp3":
                    self.reg("fichero_sonido", winpath(self.path("media", name)))
                opened = self.start_and_read_open()
                if opened["result"] != "0":
                    self.assertTrue(opened["error"])
                    self.expect_box(opened["error"])
                editor = self.ready()
                self.keys(editor, "typed")
                self.assertEqual(self.editor_text(editor, "typed"), "typed")
                self.assertIsNone(self.msgbox(100), "one message at most")
                # A file shorter than its header says loops over what it has, from the start each
                # time; one with nothing to play stops.
                ls = self.lines()
                names = [n for n, _ in ls]
                plays = [i for i, n in enumerate(names) if n == "MCI_PLAY"]
                for p in plays[1:]:
                    self.assertEqual(names[p - 1], "MCI_SEEK", "a replay starts from the beginning")
                for p, q in zip(plays, plays[1:]):
                    self.assertIn("MM_MCINOTIFY", names[p:q], "one play at a time")
                if opened["result"] != "0":
                    self.assertEqual(self.named("MCI_PLAY"), [])
                self.s.cmd("kill", self.pid)
                self.pid = None


class AmbientLoopTest(SoundCase):
    def start_playing(self):
        self.launch()
        ls = self.wait_lines(lambda ls: self.named("MM_MCINOTIFY", ls), 5000)
        notes = self.named("MM_MCINOTIFY", ls)
        self.assertEqual([n["value"] for n in notes[:1]], ["0x1"], "the file played to its end")
        return self.ready()

    def test_the_end_of_the_file_starts_it_again_from_the_beginning(self):
        self.start_playing()
        ls = self.wait_lines(lambda ls: len(self.named("MCI_PLAY", ls)) >= 4, 5000)
        names = [n for n, _ in ls]
        first = names.index("MCI_PLAY")
        plays = [i for i, n in enumerate(names) if n == "MCI_PLAY"]
        self.assertGreaterEqual(len(plays), 4, "the loop goes on")
        # Every later play follows a successful notice, a position at the end and a seek to the start.
        length = self.named("MCI_STATUS", ls)[0]["value"]
        for p in plays[1:4]:
            self.assertEqual(names[p - 3:p], ["MM_MCINOTIFY", "MCI_STATUS", "MCI_SEEK"], names[p - 4:p + 1])
            self.assertEqual(ls[p - 3][1]["value"], "0x1")
            self.assertEqual(ls[p - 2][1]["value"], length, "at the end")
            self.assertEqual(ls[p - 1][1]["flags"], "0x00000102", "MCI_WAIT | MCI_SEEK_TO_START")
        self.assertEqual(names[first - 1], "MCI_STATUS", "the first play checks the position too")
        # The level is given once, on open; the loop itself leaves it alone.
        self.assertEqual(names[names.index("MCI_OPEN"):].count("MCI_SETAUDIO"), 1)

    def test_switching_off_ends_the_loop_for_good(self):
        editor = self.start_playing()
        self.keys(editor, "^m")
        ls = self.wait_lines(lambda ls: self.named("MCI_CLOSE", ls))
        at_close = len(ls)
        self.settle(600)  # several lengths of the file
        after = [n for n, _ in self.lines()[at_close:]]
        self.assertNotIn("MCI_PLAY", after, "an interrupted play does not restart")
        self.assertNotIn("MCI_OPEN", after)

    def test_exit_with_changes_fades_from_the_slider_to_silence_then_closes(self):
        editor = self.start_playing()
        self.keys(editor, "x")
        before = len(self.lines())
        self.keys(editor, "^q")
        box = self.msgbox()
        self.assertIsNotNone(box)
        self.answer(box, 7)  # No
        self.assertEqual(self.exit_code(), "0")
        tail = self.lines()[before:]
        vols = [f for n, f in tail if n == "MCI_SETAUDIO"]
        levels = [int(f["value"]) for f in vols]
        # Step 0 sends 500 once (the slider does not move); the other 250
        # steps move the slider (which sends) and then send again.
        self.assertEqual(len(levels), 501)
        self.assertEqual(levels[0], 500)
        self.assertEqual(levels[-1], 0)
        self.assertEqual(levels[1:], [v for i in range(1, 251) for v in (500 - 2 * i,) * 2])
        self.assertTrue(all(f["dev"] != "0" and f["flags"] == "0x01800000" for f in vols))
        names = [n for n, _ in tail]
        self.assertIn("MCI_CLOSE", names[names.index("MCI_SETAUDIO"):], "the device is closed after the fade")


class ClickTest(SoundCase):
    def clicks(self):
        return [f["data"] for f in self.named("sndPlaySound")]

    def test_only_a_complete_wav_is_played_and_typing_goes_on(self):
        for fixture, want in (("click.wav", "wave"), ("truncated.wav", "null"), ("notriff.wav", "null"),
                              ("empty.bin", "null")):
            with self.subTest(fixture=fixture):
                self.s.cmd("regclear")
                self.reg("fichero_sonido", winpath(self.path("media", "ambient.wav")))
                if os.path.exists(self.log):
                    os.remove(self.log)
                shutil.copy(os.path.join(harness.FIXTURES, fixture), self.path("media", "click.wav"))
                self.launch()
                editor = self.ready()
                self.keys(editor, "abc")
                self.assertEqual(self.editor_text(editor, "abc"), "abc")
                self.assertIsNone(self.msgbox(100), "a file that is no WAV is loaded all the same, silently")
                ls = self.wait_lines(lambda ls: len(self.named("sndPlaySound", ls)) >= 3)
                got = [f for f in self.named("sndPlaySound", ls)]
                self.assertEqual([f["data"] for f in got], [want] * 3, "one click per character")
                self.assertTrue(all(f["flags"] == "0x00000007" for f in got))
                self.s.cmd("kill", self.pid)
                self.pid = None

    def test_a_command_keys_character_clicks_but_never_edits_the_text(self):
        self.launch()
        editor = self.ready()
        self.keys(editor, "whole text")
        self.assertEqual(self.editor_text(editor, "whole text"), "whole text")
        # Everything selected first: a character taken as an edit would replace it all.
        for keys, clicks in (("^a^h", 2), ("^a^m^m", 3), ("^a^k^k", 3), ("^a^b^b", 3), ("^a^u^u", 3),
                             ("^a^l^l", 3), ("^a^t^t", 3), ("^a^j^j", 2)):
            with self.subTest(keys=keys):
                n = len(self.clicks())
                self.keys(editor, keys)
                self.assertEqual(self.editor_text(editor, "whole text"), "whole text")
                ls = self.wait_lines(lambda ls: len(self.named("sndPlaySound", ls)) >= n + clicks)
                self.assertEqual(len(self.named("sndPlaySound", ls)) - n, clicks, "every command key clicks")
                # Whether a control would edit with it is its own affair: none reaches it.
                self.assertEqual([f["ch"] for f in self.named("editorChar", ls) if int(f["ch"], 16) < 0x20], [])
        self.assertEqual(len(self.named("editorChar")), len("whole text"), "typed characters do reach it")

    def test_the_click_is_stopped_before_its_image_is_released_at_exit(self):
        self.launch()
        editor = self.ready()
        self.keys(editor, "^q")  # a character too: it clicks, and the program ends at once
        self.assertEqual(self.exit_code(), "0")
        names = [n for n, _ in self.lines()]
        self.assertIn("sndPlaySound", names)
        self.assertEqual(names[-1], "sndStop")
        self.assertEqual(self.named("sndStop")[-1]["reason"], "exit")

    def test_ctrl_j_switches_the_click_and_is_stored_only_with_the_table(self):
        self.launch()
        editor = self.ready()
        self.keys(editor, "a")
        self.wait_lines(lambda ls: self.named("sndPlaySound", ls))
        self.keys(editor, "^j")
        self.settle()
        n = len(self.clicks())
        self.keys(editor, "bcd")
        self.settle()
        self.assertEqual(len(self.clicks()), n, "no click while off")
        self.assertEqual(self.regget("sonido_teclado"), "MISSING", "Ctrl+J writes nothing")
        self.write_all_settings(editor)
        self.assertEqual(self.regget("sonido_teclado"), "sz 0")
        self.keys(editor, "^j")
        self.settle()
        n = len(self.clicks())
        self.keys(editor, "e")
        self.assertEqual(self.wait_lines(lambda ls: len(self.named("sndPlaySound", ls)) > n) and
                         self.clicks()[n:], ["wave"])

    def remove_click_file_after_load(self, editor):
        # A click heard means the text window has been activated and holds the image.
        self.keys(editor, "a")
        self.assertEqual(self.wait_lines(lambda ls: self.named("sndPlaySound", ls)) and self.clicks(), ["wave"])
        os.remove(self.path("media", "click.wav"))

    def answer_all(self, limit=3):
        texts = []
        while len(texts) < limit:
            box = self.msgbox(1500)
            if not box:
                break
            texts.append(box[2])
            self.answer(box)
        return texts

    def test_ctrl_j_with_the_file_gone_tells_and_the_loaded_click_goes_on(self):
        self.launch()
        editor = self.ready()
        self.remove_click_file_after_load(editor)
        # The next activation of the text window fails to reload the click and says so, once.
        self.activate(self.window("TfPrincipal"))
        self.activate(editor)
        self.assertEqual([t[:18] for t in self.answer_all(1)], ['Cannot open file "'])
        n = len(self.clicks())
        self.keys(editor, "^j")
        self.assertEqual(self.answer_all(), [CLICK], "the switch's message, and the read error not again")
        self.assertEqual(self.wait_lines(lambda ls: len(self.named("sndPlaySound", ls)) > n) and self.clicks()[n:],
                         ["wave"], "Ctrl+J is a character too, and clicks while the option is on")
        n = len(self.clicks())
        self.keys(editor, "z")
        self.assertEqual(self.editor_text(editor, "az"), "az")
        ls = self.wait_lines(lambda ls: len(self.named("sndPlaySound", ls)) > n)
        self.assertEqual([f["data"] for f in self.named("sndPlaySound", ls)][n:], ["wave"],
                         "the option is unchanged and the image in memory still plays")
        self.write_all_settings(editor)
        self.assertEqual(self.regget("sonido_teclado"), "sz 1")

    def test_typing_goes_on_after_the_messages_when_the_click_file_vanished(self):
        # The switch's message and the failed reload on the activation that follows its closing.
        self.launch()
        editor = self.ready()
        self.remove_click_file_after_load(editor)
        self.keys(editor, "^j")
        texts = self.answer_all()
        self.assertIn(CLICK, texts)
        others = [t for t in texts if t != CLICK]
        self.assertTrue(len(others) <= 1 and all(t.startswith('Cannot open file "') for t in others), texts)
        self.assertEqual(self.s.cmd("enabled", self.window("TfContenidoTexto")), "1", "no box left behind")
        self.keys(editor, "z")
        self.assertEqual(self.editor_text(editor, "az"), "az")

class RestWindowTest(SoundCase):
    def rest_window(self, ms=5000):
        h = self.s.cmd("waitvisible", "TfDescanso", self.pid, ms)
        self.assertNotEqual(h, "0", "no rest window")
        return h

    def test_one_minute_brings_the_rest_window_which_counts_down_and_closes(self):
        self.reg("minutos", "1")
        self.reg("segundos", "3")
        self.launch(divisor=4)  # a second of rest lasts 250 ms
        h = self.rest_window()
        label = self.s.cmd("child", h, "Static", 3)
        bar = self.s.cmd("child", h, "msctls_progress32")
        seen, positions = [], []
        end = time.time() + 5
        while time.time() < end and self.info(h)["visible"] == "1":
            t = self.s.cmd("text", label)
            if t and (not seen or seen[-1] != t):
                seen.append(t)
                positions.append(self.s.cmd("progress", bar))
            if not seen:
                self.assertEqual(self.s.cmd("enabled", self.window("TfPrincipal")), "0")
                self.assertEqual(self.s.cmd("enabled", self.window("TfContenidoTexto")), "0")
            time.sleep(0.02)
        self.assertEqual(self.info(h)["visible"], "0", "the window closes by itself")
        self.assertEqual(seen, ["Rest break for 00:02", "Rest break for 00:01"])
        self.assertEqual(positions, ["pos=1 min=0 max=3", "pos=2 min=0 max=3"])
        self.assertEqual(self.s.cmd("enabled", self.window("TfPrincipal")), "1")
        self.assertEqual(self.s.cmd("enabled", self.window("TfContenidoTexto")), "1")
        editor = self.editor()
        self.keys(editor, "back")
        self.assertEqual(self.editor_text(editor, "back"), "back")

    def test_a_rest_due_at_the_first_tick_inside_a_start_up_message_comes_over_it(self):
        # The minutes read are the count: the tick that the open message box lets through finds 1.
        self.reg("minutos", "1")
        self.reg("segundos", "2")
        os.remove(self.path("media", "fondo.jpg"))
        self.launch(divisor=4)
        h = self.rest_window()
        box = self.msgbox(1000)
        self.assertIsNotNone(box, "the start-up message is still open under the rest window")
        self.assertTrue(box[2].startswith("I can't find background image file"), box[2])
        end = time.time() + 5
        while self.info(h)["visible"] == "1" and time.time() < end:
            time.sleep(0.05)
        self.assertEqual(self.info(h)["visible"], "0", "the rest window closes by itself")
        self.assertEqual(self.s.cmd("enabled", box[0]), "1", "the message can be answered again")
        self.answer(box)
        editor = self.ready()
        self.keys(editor, "on")
        self.assertEqual(self.editor_text(editor, "on"), "on")

    def test_the_rest_window_looks_as_designed(self):
        self.reg("minutos", "1")
        self.reg("segundos", "0")  # stays until closed
        self.launch()
        h = self.rest_window()
        i = self.info(h)
        self.assertEqual((i["w"], i["h"]), ("474", "266"))
        self.assertEqual((i["x"], i["y"]), (str((1280 - 474) // 2), str((800 - 266) // 2)), "desktop centre")
        self.assertEqual(i["alpha"], "220")
        self.assertEqual(i["corner"], "0", "rounded outline")
        self.assertEqual(self.s.cmd("text", h), "Rest")
        self.assert_readable(h)
        texts = [self.s.cmd("text", self.s.cmd("child", h, "Static", n)) for n in range(3)]
        self.assertEqual(texts, ["Time to rest!", REST_TEXT1, REST_TEXT2])
        # The title on one line, its last letters drawn at the right of its box.
        x, y, w, th = self.rect(self.s.cmd("child", h, "Static", 0))
        right = self.drawn(lambda screen: screen.colours(x + w * 4 // 5, y, w - w * 4 // 5, th, 1),
                           lambda right: any(harness.dark(c) for c in right))
        self.assertTrue(any(harness.dark(c) for c in right), "the end of the title is drawn: %s" % right)
        self.assertEqual(self.s.cmd("text", self.s.cmd("child", h, "Button")), "Close")
        style = int(self.info(self.s.cmd("child", h, "msctls_progress32"))["style"], 16)
        self.assertTrue(style & 1, "smooth bar")

    def test_close_ends_a_rest_of_length_0_and_the_next_rest_comes_a_minute_later(self):
        self.reg("minutos", "1")
        self.reg("segundos", "0")
        self.launch(divisor=30)  # a minute lasts 2 s, a second 33 ms
        h = self.rest_window()
        label = self.s.cmd("child", h, "Static", 3)
        end = time.time() + 3
        while time.time() < end and self.s.cmd("text", label) < "Rest break for 00:03":
            time.sleep(0.02)
        text = self.s.cmd("text", label)
        self.assertRegex(text, r"^Rest break for 00:0[3-9]$", "with no rest length the time counts up")
        self.s.cmd("press", h, 1001)
        end = time.time() + 3
        while self.info(h)["visible"] == "1" and time.time() < end:
            time.sleep(0.02)
        self.assertEqual(self.info(h)["visible"], "0")
        self.assertEqual(self.s.cmd("enabled", self.window("TfPrincipal")), "1")
        closed = time.time()
        self.rest_window(5000)
        self.assertGreater(time.time() - closed, 1.0, "the next rest waits a whole minute")



class PanelMixin:
    """The command panel's controls, found by name and used with real pointer input."""

    def shown(self, name):
        """The control's own visible flag (the panel itself may be hidden)."""
        return bool(int(self.info(self.control(name))["style"], 16) & 0x10000000)


class PanelSoundTest(PanelMixin, SoundCase):
    def start_off(self):
        self.reg("sonido", "0")
        self.launch()
        editor = self.ready()
        self.onto_workspace()
        return editor

    def test_sound_switch_starts_and_stops_the_loop_saves_and_shows_the_volume(self):
        self.start_off()
        self.assertEqual(self.named("MCI_OPEN"), [], "off at start: nothing opened")
        self.assertFalse(self.shown("sbVolumen"))
        self.assertFalse(self.shown("lVolumen"))
        for state in ("1", "0", "1"):
            with self.subTest(state=state):
                opens, closes = len(self.named("MCI_OPEN")), len(self.named("MCI_CLOSE"))
                self.click_control("bSonido")
                self.assertEqual(self.wait_reg("sonido", "sz " + state), "sz " + state)
                self.assertEqual(self.shown("sbVolumen"), state == "1")
                self.assertEqual(self.shown("lVolumen"), state == "1")
                if state == "1":
                    ls = self.wait_lines(lambda ls: len(self.named("MCI_OPEN", ls)) > opens)
                    self.assertEqual(len(self.named("MCI_OPEN", ls)), opens + 1, "started anew")
                else:
                    ls = self.wait_lines(lambda ls: len(self.named("MCI_CLOSE", ls)) > closes)
                    self.assertEqual(len(self.named("MCI_CLOSE", ls)), closes + 1, "the device is closed")
                    self.assertEqual(len(self.named("MCI_OPEN", ls)), opens)
        self.assertIsNone(self.msgbox(100))

    def test_sound_switch_with_the_file_gone_tells_and_falls_back_to_off(self):
        self.start_off()
        keep = self.path("ambient.keep")
        os.rename(self.path("media", "ambient.wav"), keep)
        self.click_control("bSonido")
        self.expect_box(AMBIENT)
        self.assertEqual(self.regget("sonido"), "sz 0")
        self.assertEqual(self.regget("sonido_teclado"), "MISSING", "nothing saved")
        self.assertFalse(self.shown("sbVolumen"))
        self.assertEqual(self.named("MCI_OPEN"), [])
        # The switch went back to off: with the file back, the next click turns the sound on.
        os.rename(keep, self.path("media", "ambient.wav"))
        self.onto_workspace()
        self.click_control("bSonido")
        self.assertEqual(self.wait_reg("sonido", "sz 1"), "sz 1")
        self.assertTrue(self.wait_lines(lambda ls: self.named("MCI_OPEN", ls)))

    def test_a_level_chosen_on_the_slider_is_the_level_of_the_reopened_device(self):
        editor = self.start_off()
        self.click_control("bSonido")
        self.assertEqual(self.wait_reg("sonido", "sz 1"), "sz 1")
        slider = self.control("sbVolumen")
        x, y, w, h = self.rect(slider)
        before = len(self.lines())
        self.click_at(x + 6, y + h // 2)  # on the channel left of the thumb: one page down
        self.wait_lines(lambda ls: [f for n, f in ls[before:] if n == "MCI_SETAUDIO"])
        moved = [f for n, f in self.lines()[before:] if n == "MCI_SETAUDIO"]
        self.assertTrue(moved, "the slider reports its change")
        level = moved[-1]["value"]
        self.assertEqual(self.s.cmd("send", slider, 0x400, 0, 0), level, "the command carries the position")
        self.assertLess(int(level), 500)
        self.assertTrue(all(f["dev"] != "0" for f in moved))
        # Off and on again: the fresh device is given the slider's level, not its own.
        self.keys(editor, "^m")
        self.assertEqual(self.wait_reg("sonido", "sz 0"), "sz 0")
        mark = len(self.lines())
        self.keys(editor, "^m")
        ls = self.wait_lines(lambda ls: [n for n, _ in ls[mark:]].count("MCI_PLAY"))
        tail = ls[mark:]
        names = [n for n, _ in tail]
        self.assertEqual([f["value"] for n, f in tail[names.index("MCI_OPEN"):names.index("MCI_PLAY")]
                          if n == "MCI_SETAUDIO"], [level])

    def test_key_click_switch_turns_the_click_off_and_on(self):
        editor = self.start_off()
        self.click_control("bTeclado")
        self.keys(editor, "ab")
        self.assertEqual(self.editor_text(editor, "ab"), "ab")
        self.assertEqual(self.named("sndPlaySound"), [], "no click while off")
        self.assertEqual(self.regget("sonido_teclado"), "MISSING", "the switch writes nothing")
        self.onto_workspace()
        self.click_control("bTeclado")
        self.keys(editor, "c")
        ls = self.wait_lines(lambda ls: self.named("sndPlaySound", ls))
        self.assertEqual([f["data"] for f in self.named("sndPlaySound", ls)], ["wave"])


class BreakCountdownTest(PanelMixin, SoundCase):
    def bar(self):
        return self.s.cmd("progress", self.control("pbTiempoDescanso"))

    def wait_bar(self, expected, ms=8000):
        end = time.time() + ms / 1000
        while self.bar() != expected and time.time() < end:
            time.sleep(0.02)
        return self.bar()

    def test_after_a_rest_the_bar_is_full_again_with_the_minutes_read_then(self):
        self.reg("minutos", "2")
        self.reg("segundos", "3")
        self.launch(divisor=10)  # a minute lasts 6 s, a second 100 ms
        self.ready()
        self.assertEqual(self.wait_bar("pos=1 min=0 max=2"), "pos=1 min=0 max=2", "the first tick takes one off")
        self.assertTrue(self.shown("pbTiempoDescanso") and self.shown("lblTxtMinutos"))
        h = self.s.cmd("waitvisible", "TfDescanso", self.pid, 8000)
        self.assertNotEqual(h, "0", "the rest comes one minute later")
        self.assertEqual(self.wait_bar("pos=2 min=0 max=2"), "pos=2 min=0 max=2")
        self.assertEqual(self.info(h)["visible"], "0")
        # And counts down again from there.
        self.assertEqual(self.wait_bar("pos=1 min=0 max=2"), "pos=1 min=0 max=2")

    def test_zero_minutes_hide_the_countdown_and_never_rest(self):
        self.reg("minutos", "0")
        self.launch(divisor=60)  # a minute lasts 1 s
        editor = self.ready()
        end = time.time() + 3
        while self.shown("pbTiempoDescanso") and time.time() < end:
            time.sleep(0.05)
        self.assertFalse(self.shown("pbTiempoDescanso"))
        self.assertFalse(self.shown("lblTxtMinutos"))
        self.assertEqual(self.s.cmd("waitvisible", "TfDescanso", self.pid, 4000), "0", "no rest in four minutes")
        self.assertFalse(self.shown("pbTiempoDescanso"), "still hidden as the count goes on below zero")
        self.keys(editor, "ok")
        self.assertEqual(self.editor_text(editor, "ok"), "ok")


if __name__ == "__main__":
    unittest.main()


if __name__ == "__main__":
    unittest.main()

"""The About box of the real program: its texts and layout, the two links
in their colours with the hand cursor over them only, a click that opens a
link (a stand-in browser records it) turning it purple for good, and one
that cannot be opened beeping and staying blue."""
import os
import subprocess

from chrome_support import FAR, ChromeTestCase, click, move_mouse
from dialog_support import Dialog, close_box, dialog_units, key
from harness import wait_until
from xbell import BellWatcher
from xcursor import cursor_image

MAIL, WEB = 1000, 1001
BLUE, PURPLE = "0000ff", "800080"
MAILTO_COMMAND = r"HKCR\mailto\shell\open\command"
ORDER = [2, 1017, -1, 1, MAIL, -1, WEB, -1, -1]  # controls in tab order
RECTS = {1017: (36, 10, 122, 8), MAIL: (56, 32, 80, 8), WEB: (105, 42, 86, 8)}  # dialog units


def reg(*args):
    return subprocess.run(["wine", "reg"] + list(args), capture_output=True, text=True, timeout=30).stdout


class About(ChromeTestCase):
    def setUp(self):
        super().setUp()
        # Web links go to winebrowser, which runs the first program of this
        # list: here one that records the address. Mail links go to a
        # program that does not exist, so the shell cannot open them.
        self.urls = os.path.join(self.workdir, "opened-urls.txt")
        opener = os.path.join(self.workdir, "record-url.sh")
        with open(opener, "w") as f:
            f.write("#!/bin/sh\nprintf '%%s\\n' \"$@\" >> '%s'\n" % self.urls)
        os.chmod(opener, 0o755)
        reg("add", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/t", "REG_SZ", "/d", opener, "/f")
        self.mailer = reg("query", MAILTO_COMMAND, "/ve").split("REG_SZ", 1)[1].strip()
        reg("add", MAILTO_COMMAND, "/ve", "/d", r'"C:\no\such\mailer.exe" "%1"', "/f")
        self.bells = BellWatcher()

    def tearDown(self):
        self.bells.close()
        reg("add", MAILTO_COMMAND, "/ve", "/d", self.mailer, "/f")
        reg("delete", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/f")
        super().tearDown()

    def opened(self):
        if not os.path.exists(self.urls):
            return []
        with open(self.urls) as f:
            return f.read().split()

    def colours(self, dialog, id_):
        """The link colours its text shows, once it is drawn (a dialog found
        in the foreground may not have painted yet)."""
        def drawn():
            r = self.probe.info(dialog.control(id_))["rect"]
            rgb = self.probe("pixels", r[0], r[1], r[2] - r[0], r[3] - r[1])["rgb"]
            return {c for c in (BLUE, PURPLE) if c in {rgb[i:i + 6] for i in range(0, len(rgb), 6)}}
        return wait_until(drawn, 5, what="the link drawn")

    def steady_cursor(self, x, y, other=None):
        """The cursor shown at (x, y) once it differs from `other` and stays
        (Wine shows a blank 1 x 1 cursor for an instant on a change)."""
        move_mouse(x, y)
        last = [None]

        def steady():
            now = cursor_image()
            settled = now == last[0] and now != other and now[0] > 1
            last[0] = now
            return settled and now
        return wait_until(steady, 3, interval=0.1, what="the cursor at %d, %d" % (x, y))

    def open(self, app):
        app.key("ctrl+a")
        return Dialog(self.probe, "About", app.hwnd)

    def test_links_turn_purple_once_opened_and_stay_so(self):
        app, _ = self.launch_at(100, 100, 550, 350)
        dialog = self.open(app)
        pixels = dialog_units(self.probe)
        origin = dialog.info()["client"][:2]
        controls = dialog.controls()
        self.assertEqual(ORDER, [-1 if c["id"] == 0xFFFF else c["id"] for c in controls])  # a word id -1 reads 0xFFFF
        texts = {c["id"]: c["text"] for c in controls}
        self.assertEqual(["Scopella Version 1.8", "mail@brindle.example", "www.brindle.example"],
                         [texts[i] for i in (1017, MAIL, WEB)])
        for id_, units in RECTS.items():
            rect = self.probe.info(dialog.control(id_))["rect"]
            self.assertEqual(pixels(*units), [v - origin[k % 2] for k, v in enumerate(rect)])
        self.assertEqual(({BLUE}, {BLUE}), (self.colours(dialog, MAIL), self.colours(dialog, WEB)))

        # The hand over the links only.
        label = next(c["rect"] for c in controls if c["text"] == "Email:")
        arrow = self.steady_cursor(label[0] + 3, label[1] + 3)
        hand = self.steady_cursor(*dialog.centre(MAIL), other=arrow)
        self.assertEqual(hand, self.steady_cursor(*dialog.centre(WEB)))
        self.assertEqual(arrow, self.steady_cursor(label[0] + 3, label[3] - 2, other=hand))

        # The mail link cannot be opened: a beep, and it stays blue.
        click(*dialog.centre(MAIL))
        wait_until(lambda: self.bells.count() == 1, 10, what="a beep")
        self.assertEqual({BLUE}, self.colours(dialog, MAIL))
        # The web page opens: purple at once, while the mail link stays blue.
        click(*dialog.centre(WEB))
        wait_until(lambda: self.colours(dialog, WEB) == {PURPLE}, 10, what="the web link purple")
        wait_until(self.opened, 15, what="the web page opened")
        self.assertEqual(["https://www.brindle.example/?Scopella"], self.opened())
        self.assertEqual({BLUE}, self.colours(dialog, MAIL))
        self.assertEqual(1, self.bells.count())
        move_mouse(*FAR)
        self.assertTrue(dialog.is_open())  # links do not close the box
        key("Escape")
        dialog.wait_closed(app)
        self.assertEqual(0, close_box(app))
        stored = self.probe.registry()
        self.assertEqual((b"\1", 0), (stored["Visited"][1], int.from_bytes(stored["Emailed"][1], "little")))

        # The next run remembers.
        app, _ = self.launch_at(100, 100, 550, 350)
        dialog = self.open(app)
        self.assertEqual(({BLUE}, {PURPLE}), (self.colours(dialog, MAIL), self.colours(dialog, WEB)))
        key("Return")
        dialog.wait_closed(app)
        self.assertEqual(0, close_box(app))


if __name__ == "__main__":
    import unittest
    unittest.main()

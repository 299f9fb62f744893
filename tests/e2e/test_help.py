"""Help from the real program reaches the help viewer: F1 asks for the main
topic of the help file beside the executable, closing tells the viewer to
quit. The viewer is tests/tools/help_recorder.exe, which owns a window of the
class Wine's WinHelpA sends its requests to and logs each request as
"<command> <data> <help file>". (The test prefix disables winhlp32.exe, so
without the recorder nothing would be shown or wait.) Without a help file
beside the executable, F1 opens the help page that lies there instead, and
"What's This?" shows its text in the program's own pop-up."""
import os
import subprocess
import unittest

from chrome_support import FAR, Chrome, click, move_mouse
from dialog_support import Dialog, key
from harness import EXE, HELP_CONTEXT, HELP_QUIT, ScopellaTestCase, WithHelpRecorder, wait_until, windows_path, xdotool
from overlay_support import HIGHLIGHT, WHATS_THIS, OverlayTestCase

HELP_POPUP = "Scopella_HelpPopup"
HELP_TEXTS = 36864  # string ids of the pop-up texts; the view's is this + 4, the colour pane's + 6
OPTIONS_TEXTS = 40960  # string ids of the Options controls' texts: this plus the control id


class Help(WithHelpRecorder, ScopellaTestCase):
    def test_f1_opens_the_main_topic_and_closing_quits_the_viewer(self):
        # Started from another folder than its own: the help file is still
        # looked for beside the executable.
        help_file = windows_path(os.path.dirname(os.path.abspath(EXE))) + "\\Scopella.hlp>NormWin"
        app = self.launch()
        self.assertNotEqual(os.path.dirname(os.path.abspath(EXE)), app.cwd)
        app.key("F1")
        wait_until(self.recorder.requests, 10, what="a help request")
        self.assertEqual([(HELP_CONTEXT, 6, help_file)], self.recorder.requests())
        self.assertEqual(0, app.close())
        self.assertEqual([(HELP_CONTEXT, 6, help_file), (HELP_QUIT, 0, help_file)], self.recorder.requests())


class HelpPage(ScopellaTestCase):
    """Without a help file beside the executable, F1 opens the help page
    beside it in the browser. Wine opens web pages with winebrowser, which
    tries the programs of its Browsers list: here one that records its
    arguments."""

    def setUp(self):
        super().setUp()
        self.opened_log = os.path.join(self.workdir, "opened.txt")
        opener = os.path.join(self.workdir, "record-page.sh")
        with open(opener, "w") as f:
            f.write("#!/bin/sh\necho \"$@\" >> '%s'\n" % self.opened_log)
        os.chmod(opener, 0o755)
        self.browsers("add", "/t", "REG_SZ", "/d", opener)

    def tearDown(self):
        self.browsers("delete")
        super().tearDown()

    @staticmethod
    def browsers(verb, *args):
        subprocess.run(["wine", "reg", verb, r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/f"] + list(args),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def opened(self):
        if not os.path.exists(self.opened_log):
            return []
        with open(self.opened_log) as f:
            return f.read().split()

    def test_f1_opens_the_help_page_beside_the_executable(self):
        folder = os.path.dirname(os.path.abspath(EXE))
        self.assertFalse(os.path.exists(os.path.join(folder, "Scopella.hlp")))
        page = os.path.join(folder, "Scopella.html")
        self.assertTrue(os.path.isfile(page))
        app = self.launch()
        app.key("F1")
        wait_until(self.opened, 15, what="the help page opened")
        self.assertEqual(["file://" + page], self.opened())
        # Closing asks nothing more of help.
        self.assertEqual(0, app.close())
        self.assertEqual(["file://" + page], self.opened())


class PopupReader:
    """The program's help pop-up and its expected texts, read from outside."""

    def popup(self):
        try:
            found = [h for h in self.probe.windows(HELP_POPUP) if self.probe.info(h)["visible"]]
        except AssertionError:  # closed while looked at
            return None
        return found[0] if found else None

    def text_of(self, string_id):
        return self.probe("resstring", string_id, windows_path(os.path.abspath(EXE)))["text"]


class WhatsThis(PopupReader, OverlayTestCase):
    """Without a help file, "What's This?" shows the area's text (read from
    the program's string table) in the program's pop-up below the point of
    the right click; a press or a key closes it and does nothing else."""

    def whats_this(self, x, y):
        self.click_at(x, y, button=3)
        _, items = self.open_menu()
        self.choose(items, WHATS_THIS)
        return wait_until(self.popup, 5, what="the help pop-up")

    def test_whats_this_on_the_view_and_on_the_colour_pane(self):
        app, view = self.start(4, (300, 200))
        x, y = view.origin[0] + 50, view.origin[1] + 40
        popup = self.whats_this(x, y)
        self.assertEqual(self.text_of(HELP_TEXTS + 4), self.probe("gettext", popup)["text"])
        shown = self.probe.info(popup)["rect"]
        self.assertEqual(y + 10 + 2, shown[1])  # below the 10 x 10 spot of the click
        self.assertAlmostEqual(x + 5, (shown[0] + shown[2]) // 2, delta=1)
        # A press on the view goes to the pop-up alone: no point drag begins.
        self.press(1, x + 100, y + 60, until=lambda: not self.popup(), after_menu=True)
        self.assertEqual([], self.probe.windows(HIGHLIGHT))
        xdotool("mouseup", 1)

        pane = Chrome(app).pane_rect(1)
        popup = self.whats_this((pane[0] + pane[2]) // 2, (pane[1] + pane[3]) // 2)
        self.assertEqual(self.text_of(HELP_TEXTS + 6), self.probe("gettext", popup)["text"])
        xdotool("key", "Escape")
        wait_until(lambda: not self.popup(), 5, what="the pop-up closed by a key")
        self.assertEqual(0, app.close())


class OptionsHelp(PopupReader, ScopellaTestCase):
    """Without a help file, F1 and a right click on an Options control show
    that control's text in the program's pop-up, read from outside; a click
    or a key closes it and nothing else."""

    def test_f1_and_a_right_click_on_a_control_show_its_text(self):
        app = self.launch()
        app.key("ctrl+o")
        dialog = Dialog(self.probe, "Options", app.hwnd)
        # F1 on the focused control (the first, RGB): below the control.
        move_mouse(*FAR)
        key("F1")
        popup = wait_until(self.popup, 10, what="the help pop-up")
        self.assertEqual(self.text_of(OPTIONS_TEXTS + 1003), self.probe("gettext", popup)["text"])
        rgb, shown = self.probe.info(dialog.control(1003))["rect"], self.probe.info(popup)["rect"]
        self.assertEqual(rgb[3] + 2, shown[1])
        self.assertEqual(dialog.hwnd, self.probe.info(popup)["owner"])
        # A key closes it and goes no further: Escape leaves the dialog open.
        key("Escape")
        wait_until(lambda: not self.popup(), 10, what="the pop-up closed")
        self.assertTrue(dialog.is_open())

        # A right click on "Use transparency": at the pointer; a click closes it.
        x, y = dialog.centre(1022)
        move_mouse(x, y)
        xdotool("click", 3)
        popup = wait_until(self.popup, 10, what="the help pop-up")
        self.assertEqual(self.text_of(OPTIONS_TEXTS + 1022), self.probe("gettext", popup)["text"])
        shown = self.probe.info(popup)["rect"]
        self.assertTrue(shown[0] < x < shown[2] and shown[1] > y, shown)
        checked = dialog.checked(1022)
        click(x, y)
        wait_until(lambda: not self.popup(), 10, what="the pop-up closed")
        self.assertEqual(checked, dialog.checked(1022))  # the click only closed it
        key("Escape")
        dialog.wait_closed(app)
        self.assertEqual(0, app.close())


if __name__ == "__main__":
    unittest.main()

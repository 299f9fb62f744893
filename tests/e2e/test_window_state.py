"""The main window's state as other programs see it: always on top as the
window's own topmost style (at start, by key, with the tooltips shown), and a
maximised or minimised window left in place by a settings change."""
from chrome_support import ALWAYS_ON_TOP, FAR, OPTIONS, ChromeTestCase, move_mouse
from harness import SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE, WM_SYSCOMMAND, dword, wait_until

WM_SETTINGCHANGE = 0x001A


class WindowState(ChromeTestCase):
    def test_topmost_style_at_start_and_after_each_toggle_with_tips_shown(self):
        app, chrome = self.launch_at(100, 100, 650, 400, AlwaysOnTop=b"\x01\0\0\0")
        self.assertTrue(app.info()["topmost"])
        self.assertTrue(chrome.checked(ALWAYS_ON_TOP))
        # A toolbar tip shown: the tooltip control is a topmost pop-up the
        # window owns, which once kept the window out of the topmost band.
        app.focus()
        text = "Displays the options dialog (Ctrl+O)."
        self.assertEqual(text, chrome.hover_tip(*chrome.button_centre(OPTIONS), text))
        for on in (False, True, False, True):
            app.key("ctrl+t")
            wait_until(lambda: chrome.checked(ALWAYS_ON_TOP) == on, 3, what="the button at %s" % on)
            self.assertEqual(on, app.info()["topmost"])
            self.assertEqual(app.hwnd, self.probe.info(chrome.tooltip)["owner"])
        move_mouse(*FAR)
        self.assertEqual(0, app.close())
        self.assertEqual(1, dword(self.probe.registry()["AlwaysOnTop"][1]))

    def test_settings_change_leaves_maximised_and_minimised_windows_in_place(self):
        app, _ = self.launch_at(200, 150, 650, 400)
        normal = app.info()["rect"]
        for command, state in ((SC_MAXIMIZE, "zoomed"), (SC_MINIMIZE, "iconic")):
            self.probe.post(app.hwnd, WM_SYSCOMMAND, command)
            # The state comes first, the new rectangle a moment later.
            wait_until(lambda: app.info()[state] and app.info()["rect"] != normal, 5,
                       what="the window %s" % state)
            rect = app.info()["rect"]
            for _ in range(3):
                self.probe.send(app.hwnd, WM_SETTINGCHANGE)
                self.assertEqual(rect, app.info()["rect"], state)
            self.probe.post(app.hwnd, WM_SYSCOMMAND, SC_RESTORE)
            wait_until(lambda: not app.info()[state] and app.info()["rect"] == normal, 5,
                       what="the normal rectangle back (%r)" % app.info()["rect"])
        self.assertEqual(0, app.close())

"""The main window's state as other programs see it: a maximised or
minimised window left in place by a settings change."""
from chrome_support import ChromeTestCase
from harness import SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE, WM_SYSCOMMAND, wait_until

WM_SETTINGCHANGE = 0x001A


class WindowState(ChromeTestCase):
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

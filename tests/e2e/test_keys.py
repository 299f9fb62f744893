"""Moving the zoom point and zooming with the real keyboard (X key events
through xdotool), observed in the picture on screen and in the zoom point and
factor the program saves when it closes."""
import subprocess
import unittest

from harness import dword, ints
from viewshot import ViewGeometry, ViewTestCase


class Keys(ViewTestCase):
    def press(self, app, key, times=1):
        app.focus()
        subprocess.run(["xdotool", "key", "--clearmodifiers", "--repeat", str(times), "--delay", "15", key],
                       timeout=30, check=True)

    def test_arrows_move_one_pixel_and_sixteen_with_ctrl(self):
        app, view = self.start(4, (300, 300))
        self.assert_picture(view, (300, 300))
        steps = [("Right", (301, 300)), ("Down", (301, 301)), ("Left", (300, 301)), ("Up", (300, 300)),
                 ("ctrl+Right", (316, 300)), ("ctrl+Down", (316, 316)), ("ctrl+Left", (300, 316)),
                 ("ctrl+Up", (300, 300)), ("ctrl+Up", (300, 284))]
        for key, point in steps:
            self.press(app, key)
            self.wait_for_picture(view, point)
        self.assert_picture(view, (300, 284))
        self.assertEqual(0, app.close())
        self.assertEqual([300, 284], ints(self.probe.registry()["ZoomPoint"][1]))

    def test_page_keys_move_a_view_less_one(self):
        app, view = self.start(4, (600, 400))
        self.assert_picture(view, (600, 400))
        rows, cols = view.rows, view.cols
        self.press(app, "Page_Up")
        self.wait_for_picture(view, (600, 400 - (rows - 1)))
        self.press(app, "Page_Down")
        self.wait_for_picture(view, (600, 400))
        self.press(app, "ctrl+Page_Up")
        self.wait_for_picture(view, (600 - (cols - 1), 400))
        self.press(app, "ctrl+Page_Down")
        self.wait_for_picture(view, (600, 400))
        self.press(app, "ctrl+Page_Down")
        self.assert_picture(view, (600 + cols - 1, 400))
        self.assertEqual(0, app.close())
        self.assertEqual([600 + cols - 1, 400], ints(self.probe.registry()["ZoomPoint"][1]))

    def test_moves_stop_at_the_screen_edge(self):
        app, view = self.start(4, (100, 100))
        self.press(app, "ctrl+Left", times=10)
        self.press(app, "Page_Up", times=3)
        # The picture of the top left corner, then the counts once settled.
        self.assert_picture(view, (-10000, -10000))
        self.assertEqual(0, app.close())
        # The keys store the clamped point.
        self.assertEqual([view.half_cols, view.half_rows], ints(self.probe.registry()["ZoomPoint"][1]))

    def test_keypad_plus_and_minus_zoom_and_stop_at_32_and_1(self):
        app, view = self.start(3, (250, 200))
        self.assert_picture(view, (250, 200))
        self.press(app, "KP_Add")
        self.assert_picture(ViewGeometry(self.probe, app.hwnd, self.screen, 4), (250, 200))
        self.press(app, "KP_Add", times=40)
        self.assert_picture(ViewGeometry(self.probe, app.hwnd, self.screen, 32), (250, 200))
        self.press(app, "KP_Subtract", times=3)
        self.assert_picture(ViewGeometry(self.probe, app.hwnd, self.screen, 29), (250, 200))
        self.press(app, "KP_Subtract", times=40)
        self.assert_picture(ViewGeometry(self.probe, app.hwnd, self.screen, 1), (250, 200))
        self.assertEqual(0, app.close())
        self.assertEqual(1, dword(self.probe.registry()["ZoomFactor"][1]))

    def test_keypad_plus_stops_at_32_in_the_saved_setting(self):
        app, _ = self.start(30, (250, 200))
        self.press(app, "KP_Add", times=5)
        self.assertEqual(0, app.close())
        self.assertEqual(32, dword(self.probe.registry()["ZoomFactor"][1]))


class PanningMessages(ViewTestCase):
    def test_a_step_message_from_another_program_does_no_harm(self):
        # The panning library reports steps with a registered message whose
        # lParam points at (dx, dy) in Scopella's own memory. Any program can
        # register the same name and send it with a pointer into nowhere.
        app, view = self.start(4, (300, 300))
        self.assert_picture(view, (300, 300))
        update = self.probe("regmsg", "bw_OriginWindowUpdate")["id"]
        for bad in (0, 16, 0x7FF0):
            self.probe.post(app.hwnd, update, 0, bad)
            self.assertEqual(1, self.probe.send(app.hwnd, update, 0, bad))
        self.press(app, "Right")
        self.assert_picture(view, (301, 300))
        self.assertEqual(0, app.close())

    press = Keys.press


if __name__ == "__main__":
    unittest.main()

"""The live readouts of the real program: the colour and the coordinates
under the mouse in the status bar, the colour swatch on the screen, follow
mode and the auto-update rate as they show in the view, and the trackbars
driven with the mouse and the keys."""
import time

from chrome_support import (COLOUR_HEX, COLOUR_RGB, COORDS_CLIENT, COORDS_SCREEN, FAR, SBT_OWNERDRAW, WM_HSCROLL,
                            ChromeTestCase, click, move_mouse, rect_bytes)
from harness import dword, ints, wait_until, xdotool
from xscreen import pattern_colour

ORANGE = (255, 128, 0)


class ColourReadout(ChromeTestCase):
    def swatch(self, chrome):
        """The colours inside the swatch pane (its edges left out)."""
        left, top, right, bottom = chrome.pane_rect(2)
        rows = self.screen.grab(left + 2, top + 2, right - left - 4, bottom - top - 4)
        return {pixel for row in rows for pixel in row}

    def test_colour_text_and_swatch_follow_the_pixel_under_the_mouse(self):
        self.screen.fill_root(ORANGE)
        app, chrome = self.launch_at(100, 100, 650, 400)
        self.wait_pane(chrome, 1, "Colour (rgb): 255,128,000 ")
        for pane in (2, 4):
            self.assertEqual(SBT_OWNERDRAW, chrome.pane(pane)["type"] & SBT_OWNERDRAW)
        wait_until(lambda: self.swatch(chrome) == {ORANGE}, 3, what="an orange swatch")
        left, top, right, bottom = chrome.pane_rect(4)
        link = {p for row in self.screen.grab(left, top, right - left, bottom - top) for p in row}
        self.assertIn((0, 0, 255), link)  # the link in blue

        # Hexadecimal shows only when the colour under the mouse next changes.
        chrome.command(COLOUR_HEX)
        self.settle()
        self.assertEqual("Colour (rgb): 255,128,000 ", chrome.pane(1)["text"])
        self.screen.fill_root((0x12, 0x34, 0xA6))
        self.wait_pane(chrome, 1, "Colour: #1234a6")
        wait_until(lambda: self.swatch(chrome) == {(0x12, 0x34, 0xA6)}, 3, what="the swatch in the new colour")

        chrome.command(COLOUR_RGB)
        self.settle()
        self.assertEqual("Colour: #1234a6", chrome.pane(1)["text"])
        move_mouse(*chrome.pane_rect(1)[:2])  # a different colour: the status bar's own
        wait_until(lambda: chrome.pane(1)["text"].startswith("Colour (rgb): "), 3, what="the RGB form again")
        move_mouse(*FAR)
        self.wait_pane(chrome, 1, "Colour (rgb): 018,052,166 ")
        self.assertEqual(0, app.close())
        self.assertEqual(1, self.probe.registry()["DisplayRGBColourPanel"][1][0])

    def test_black_from_the_start_leaves_the_colour_panes_empty(self):
        self.screen.fill_root((0, 0, 0))
        app, chrome = self.launch_at(100, 100, 650, 400)
        self.wait_pane(chrome, 3, " %d, %d " % FAR)
        self.settle()
        for pane in (1, 2, 4):
            self.assertEqual({"text": "", "length": 0, "type": 0}, chrome.pane(pane), pane)
        self.assertNotIn((0, 0, 0), self.swatch(chrome))
        self.screen.fill_root((0, 0, 1))
        self.wait_pane(chrome, 1, "Colour (rgb): 000,000,001 ")
        self.assertEqual(0, app.close())


class CoordinatesReadout(ChromeTestCase):
    def test_screen_and_window_client_coordinates(self):
        self.screen.fill_root(ORANGE)
        app, chrome = self.launch_at(100, 100, 650, 400)
        self.wait_pane(chrome, 3, " 900, 700 ")
        move_mouse(1001, 5)
        self.wait_pane(chrome, 3, " 1001, 5 ")

        # Relative to the client area of the window under the mouse: the
        # desktop's client area is the screen...
        chrome.command(COORDS_CLIENT)
        move_mouse(*FAR)
        self.settle()
        self.assertEqual(" 900, 700 ", chrome.pane(3)["text"])
        # ... and over Scopella's own caption (Wine draws it in the test
        # prefix) the y coordinate is negative.
        left, top = app.info()["rect"][:2]
        client_left, client_top = app.info()["client"][:2]
        move_mouse(left + 150, top + 6)
        self.wait_pane(chrome, 3, " %d, %d " % (left + 150 - client_left, top + 6 - client_top))
        self.assertLess(top + 6 - client_top, 0)
        # Over the view, client coordinates.
        move_mouse(client_left + 40, client_top + 60)
        self.wait_pane(chrome, 3, " 40, 60 ")

        chrome.command(COORDS_SCREEN)
        self.wait_pane(chrome, 3, " %d, %d " % (client_left + 40, client_top + 60))
        move_mouse(*FAR)
        self.assertEqual(0, app.close())


class FollowAndUpdate(ChromeTestCase):
    def view_cell(self, app, chrome, col, row):
        """Colour of a view cell (zoom 3), counted from the zoom point's cell."""
        left, top, right, bottom = app.info()["client"]
        band = chrome.rect(chrome.rebar)
        status = chrome.rect(chrome.status)
        view_top = top + (band[3] - band[1] - 2)
        view_bottom = bottom - (status[3] - status[1])
        cols = (right - left) // 3 + 1
        rows = (view_bottom - view_top) // 3 + 1
        x = left + 3 * (cols // 2 + col) + 1
        y = view_top + 3 * (rows // 2 + row) + 1
        return self.screen.pixel(x, y)

    def test_follow_mode_tracks_the_pointer_and_stays_still_with_it(self):
        self.screen.paint_root()
        app, chrome = self.launch_at(50, 50, 500, 300)
        app.key("ctrl+m")
        wait_until(lambda: chrome.checked(4009), 3, what="follow mode on")
        for x, y in ((900, 700), (1100, 800), (700, 600)):
            move_mouse(x, y)
            # The cell up and left of the zoom point's own (where the cursor is drawn).
            wait_until(lambda: self.view_cell(app, chrome, -2, -2) == pattern_colour(x - 2, y - 2), 3,
                       what="the view around (%d, %d)" % (x, y))
            self.assertEqual(pattern_colour(x - 5, y + 1), self.view_cell(app, chrome, -5, 1))

        # Rate None and a still mouse: the view is a snapshot.
        self.screen.fill_root(ORANGE)
        time.sleep(0.6)
        self.assertEqual(pattern_colour(698, 598), self.view_cell(app, chrome, -2, -2))
        move_mouse(701, 600)
        wait_until(lambda: self.view_cell(app, chrome, -2, -2) == ORANGE, 3, what="the view after a move")
        self.assertEqual(0, app.close())
        self.assertEqual([701, 600], ints(self.probe.registry()["ZoomPoint"][1]))
        self.assertEqual(1, self.probe.registry()["MouseTracking"][1][0])

    def test_auto_update_refreshes_a_still_view(self):
        self.screen.fill_root(ORANGE)
        app, chrome = self.launch_at(50, 50, 500, 300, ZoomPoint=rect_bytes(*FAR), Update=4)
        # The mouse rests where nothing changes: on Scopella's caption.
        move_mouse(app.info()["rect"][0] + 150, app.info()["rect"][1] + 6)
        wait_until(lambda: self.view_cell(app, chrome, 0, 0) == ORANGE, 3, what="the view")
        self.screen.fill_root((10, 200, 30))
        wait_until(lambda: self.view_cell(app, chrome, 0, 0) == (10, 200, 30), 3, what="the view refreshed")
        app.key("ctrl+KP_Subtract", "ctrl+KP_Subtract", "ctrl+KP_Subtract")
        wait_until(lambda: chrome.trackbar(chrome.rate)["pos"] == 1, 3, what="rate None")
        self.screen.fill_root(ORANGE)
        time.sleep(0.6)
        self.assertEqual((10, 200, 30), self.view_cell(app, chrome, 0, 0))
        self.assertEqual(0, app.close())


class Trackbars(ChromeTestCase):
    def test_rate_keys_step_and_stop_at_the_ends(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        names = {1: "None", 2: "Slow", 3: "Medium", 4: "Fast"}
        for key, expected in (("ctrl+KP_Add", [2, 3, 4, 4]), ("ctrl+KP_Subtract", [3, 2, 1, 1])):
            for rate in expected:
                app.key(key)
                wait_until(lambda: chrome.trackbar(chrome.rate)["pos"] == rate, 3, what="rate %d" % rate)
                self.assertEqual("Auto Update - " + names[rate], chrome.tool_text(chrome.rate))
        # Without Ctrl the same keys zoom; with it they did not.
        self.assertEqual(3, chrome.trackbar(chrome.zoom)["pos"])
        app.key("ctrl+KP_Add")
        self.assertEqual(0, app.close())
        self.assertEqual(2, dword(self.probe.registry()["Update"][1]))

    def test_dragging_and_clicking_the_trackbars(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        app.focus()
        zoom = chrome.trackbar(chrome.zoom)
        left, top = chrome.rect(chrome.zoom)[:2]
        thumb, channel = zoom["thumb"], zoom["channel"]
        x, y = left + (thumb[0] + thumb[2]) // 2, top + (thumb[1] + thumb[3]) // 2
        move_mouse(x, y)
        xdotool("mousedown", 1)
        try:
            seen = set()
            for to in range(x + 4, left + channel[2] + 12, 4):
                move_mouse(to, y)
                seen.add(chrome.trackbar(chrome.zoom)["pos"])
        finally:
            xdotool("mouseup", 1)
        # The zoom followed the thumb all the way (the tip too).
        self.assertEqual(32, chrome.trackbar(chrome.zoom)["pos"])
        self.assertGreater(len(seen), 5)
        self.assertEqual("Zoom Level x32", chrome.tool_text(chrome.zoom))

        # A click on the channel pages by 2, whatever the trackbar's own page.
        thumb = chrome.trackbar(chrome.zoom)["thumb"]
        click(left + thumb[0] - 6, y)
        wait_until(lambda: chrome.trackbar(chrome.zoom)["pos"] == 30, 3, what="zoom 30")
        self.assertEqual("Zoom Level x30", chrome.tool_text(chrome.zoom))
        # The trackbar gave the focus back: keypad + zooms the view.
        self.assertEqual(app.hwnd, app.info()["focus"])

        rate = chrome.trackbar(chrome.rate)
        rate_left = chrome.rect(chrome.rate)[0]
        click(rate_left + rate["thumb"][2] + 4, y)
        wait_until(lambda: chrome.trackbar(chrome.rate)["pos"] == 3, 3, what="rate Medium")
        self.assertEqual("Auto Update - Medium", chrome.tool_text(chrome.rate))
        move_mouse(*FAR)
        self.assertEqual(0, app.close())
        saved = self.probe.registry()
        self.assertEqual((30, 3), (dword(saved["ZoomFactor"][1]), dword(saved["Update"][1])))

    def test_scroll_messages_of_each_code(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        # (code, position) -> zoom factor, starting from 10 each time.
        cases = [(0, 0, 9), (1, 0, 11), (2, 0, 8), (3, 0, 12), (4, 20, 20), (5, 7, 7), (6, 20, 10), (7, 20, 10),
                 (8, 20, 10)]
        for code, position, expected in cases:
            self.probe.send(app.hwnd, WM_HSCROLL, 4 | (10 << 16), chrome.zoom)
            self.assertEqual(10, chrome.trackbar(chrome.zoom)["pos"])
            self.probe.send(app.hwnd, WM_HSCROLL, code | (position << 16), chrome.zoom)
            self.assertEqual(expected, chrome.trackbar(chrome.zoom)["pos"], "code %d" % code)
            self.assertEqual("Zoom Level x%d" % expected, chrome.tool_text(chrome.zoom))
        # Scrolls naming another window change nothing.
        for sender in (0, chrome.toolbar, chrome.status, chrome.rate + 0x10000):
            self.probe.send(app.hwnd, WM_HSCROLL, 4 | (30 << 16), sender)
        self.assertEqual(10, chrome.trackbar(chrome.zoom)["pos"])
        self.probe.send(app.hwnd, WM_HSCROLL, 3, chrome.rate)
        self.assertEqual(3, chrome.trackbar(chrome.rate)["pos"])
        self.assertEqual("Auto Update - Medium", chrome.tool_text(chrome.rate))
        self.assertEqual(0, app.close())
        saved = self.probe.registry()
        self.assertEqual((10, 3), (dword(saved["ZoomFactor"][1]), dword(saved["Update"][1])))


if __name__ == "__main__":
    import unittest
    unittest.main()

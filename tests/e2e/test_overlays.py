"""The program's own pop-up windows and the mouse gestures of the view, driven
with real X input and checked from outside: the highlight frame around the
magnified area (its place, style, ring pixels and blink), the left-drag that
picks the zoom point, the right-drag selection with its marching ants and
size tip, and the selection menu's Zoom To."""
import time
import unittest

from harness import wait_until, xdotool
from overlay_support import (BLACK, HIGHLIGHT, MARQUEE, RED, TIP, WHITE, WS_EX_TOOLWINDOW, ZOOM_TO,
                             OverlayTestCase, magnifier_cursor)
from viewshot import ViewGeometry
from xcursor import cursor_image
from xscreen import pattern_colour

PICK_STATUS = "Move the mouse to zoom in on any section of your screen"
PICK_TIP = "Drag the highlight to select the area of screen you wish to highlight"


def around(view, point):
    """The screen rectangle the frame must cover for a zoom point: the
    magnified area with its 1-pixel border, 3 pixels more on every side."""
    x, y = view.clamp(point)
    left, top = x - view.half_cols - 1, y - view.half_rows - 1
    return [left - 3, top - 3, x - view.half_cols + view.cols + 3, y - view.half_rows + view.rows + 3]


class Highlight(OverlayTestCase):
    def test_ctrl_h_flashes_the_frame_and_closes_it(self):
        app, view = self.start(4, (300, 200))
        app.key("ctrl+h")
        frame = self.wait_overlay(HIGHLIGHT)
        self.assertEqual(around(view, (300, 200)), frame["rect"])
        self.assertTrue(frame["topmost"])
        self.assertTrue(frame["exstyle"] & WS_EX_TOOLWINDOW)
        self.assertEqual((True, 150), (frame["layered_ok"], frame["alpha"]))
        self.assertEqual(0, frame["owner"])

        # Visible and hidden by turns; a second Ctrl+H starts the blink over,
        # and the frame closes after five flashes from then.
        states = []
        wait_until(lambda: states.append(self.probe.info(frame["hwnd"])["visible"]) or states.count(False) > 0, 3,
                   interval=0.02, what="the frame hidden")
        restarted = time.monotonic()
        app.key("ctrl+h")
        states = []

        def gone():
            handles = self.probe.windows(HIGHLIGHT)
            if handles:
                try:
                    states.append(self.probe.info(handles[0])["visible"])
                except AssertionError:  # closed between the two questions
                    return True
            return not handles
        wait_until(gone, 5, interval=0.02, what="the frame closed")
        lasted = time.monotonic() - restarted
        runs = [s for i, s in enumerate(states) if i == 0 or states[i - 1] != s]
        self.assertGreaterEqual(runs.count(False), 3, runs)
        self.assertGreaterEqual(runs.count(True), 3, runs)
        self.assertGreater(lasted, 1.1)
        self.assertTrue(app.info()["foreground"])  # the frame never took the focus
        self.assertEqual(0, app.close())


class PickingTheZoomPoint(OverlayTestCase):
    def test_left_drag_moves_the_zoom_point_with_frame_tip_and_cursor(self):
        app, view = self.start(4, (300, 200))
        start = (view.origin[0] + 40, view.origin[1] + 30)
        self.press(1, *start, until=lambda: self.overlay(HIGHLIGHT) and self.overlay(TIP))
        self.assertEqual(app.hwnd, app.info()["capture"])
        self.assertEqual(PICK_STATUS, app.status_text(0)["text"])
        tip = self.overlay(TIP)
        self.assertEqual(PICK_TIP, self.tip_text())
        self.assertEqual(app.hwnd, tip["owner"])
        self.assertEqual((start[0], start[1] - view.half_rows - 3), (tip["rect"][0], tip["rect"][3]))
        self.assertEqual(around(view, start), self.overlay(HIGHLIGHT)["rect"])
        wait_until(lambda: cursor_image() == magnifier_cursor(), 3, what="the magnifying-glass cursor")

        # The zoom point, the picture and the frame follow the pointer, also
        # outside the window; the tip stays where it opened.
        point = (200, 150)
        self.drag_to(*point, until=lambda: self.overlay(HIGHLIGHT)["rect"] == around(view, point))
        self.assert_picture(view, point)
        frame = self.overlay(HIGHLIGHT)["rect"]
        y = (frame[1] + frame[3]) // 2
        ring = self.screen.grab(frame[0], y, 4, 1)[0]
        self.assertEqual([BLACK, RED, BLACK, pattern_colour(frame[0] + 3, y)], ring)
        self.assertEqual(tip["rect"], self.overlay(TIP)["rect"])
        self.assertEqual(magnifier_cursor(), cursor_image())

        xdotool("mouseup", 1)
        self.wait_no_overlay(HIGHLIGHT)
        self.wait_no_overlay(TIP)
        self.assertEqual("Press F1 for help", app.status_text(0)["text"])
        self.assertEqual(0, app.info()["capture"])
        self.assert_picture(view, point)
        self.assertEqual(0, app.close())


class Selecting(OverlayTestCase):
    def client_point(self, view, x, y):
        """Screen point of a client point of the main window."""
        return view.client[0] + x, view.client[1] + y

    def right_drag(self, view, start, end):
        """Right-drags between two client points and waits for the marquee."""
        self.press(3, *self.client_point(view, *start), until=lambda: self.probe.windows(MARQUEE))
        self.drag_to(*self.client_point(view, *end), until=lambda: self.overlay(MARQUEE))

    def test_right_drag_snaps_the_selection_with_marching_ants_and_zooms_to_it(self):
        app, view = self.start(4, (300, 200))
        top = view.top
        left, client_top = view.client[:2]

        # From (13, top + 4) to (2, top + 24): cells 0..2 across, 1..5 down.
        self.right_drag(view, (13, top + 4), (2, top + 24))
        self.assertEqual([left, client_top + top + 4, left + 12, client_top + top + 24], self.overlay(MARQUEE)["rect"])
        wait_until(lambda: self.tip_text() == "Selected size 3x5", 3, what="the size tip")
        tip = self.overlay(TIP)["rect"]
        # The tip's corner: 5 pixels up and left of the start's cell corner.
        self.assertEqual((left + 12 - 5, client_top + (top + 4) // 4 * 4 - 5), (tip[0], tip[3]))
        self.assertEqual(app.hwnd, self.overlay(MARQUEE)["owner"])

        # A bigger selection: black and white dashes of 4 that move 2 pixels
        # a tick, clockwise around the ring.
        self.drag_to(*self.client_point(view, 213, top + 84),
                     until=lambda: self.tip_text() == "Selected size 50x20")
        ring = self.overlay(MARQUEE)["rect"]
        self.assertEqual([left + 12, client_top + top + 4, left + 212, client_top + top + 84], ring)
        self.assert_marching_clockwise(ring)

        # Releasing opens the selection menu at the pointer; Zoom To zooms in.
        xdotool("mouseup", 3)
        menu, items = self.open_menu()
        self.assertEqual([(4018, "Copy &Original Size", False, False), (4021, "Copy &Zoomed Size", False, False), None,
                          (ZOOM_TO, "Zoom &To", False, False), None, (4020, "&Save to File...", False, False), None,
                          (4023, "&Cancel", False, False)], self.summary(items))
        self.assertEqual(self.client_point(view, 213, top + 84), tuple(menu["rect"][:2]))
        self.assertIsNotNone(self.overlay(MARQUEE))  # still marching under the menu
        self.choose(items, ZOOM_TO)
        self.wait_no_overlay(MARQUEE)
        self.wait_no_overlay(TIP)
        # The zoom point moves to the middle of the 50 x 20 screen pixels, counted
        # from the magnified area's border (one pixel up and left of the first
        # shown), and the factor grows by as many times as the selection fits.
        factor = 4 * min(view.width // 200, view.height // 80)
        corner = view.first_shown((300, 200))
        point = (corner[0] - 1 + 3 + 25, corner[1] - 1 + 1 + 10)
        zoomed = ViewGeometry(self.probe, app.hwnd, self.screen, factor)
        self.assert_picture(zoomed, point)
        self.assertEqual(0, app.close())

    def assert_marching_clockwise(self, ring):
        left, top, right, bottom = ring
        width, height = right - left, bottom - top

        def edges():
            rows = self.screen.grab(left, top, width, height)
            return (rows[0], [row[-1] for row in rows], rows[-1][::-1], [row[0] for row in rows][::-1])

        def shift(before, after):
            """How far the dashes moved along the line (mod 8), or None."""
            for d in range(8):
                if after[8:-8] == before[8 - d:len(before) - 8 - d]:
                    return d
            return None
        def clean(frame):
            """Every line black and white dashes of 4 (a grab may catch a
            repaint half done)."""
            for line in frame:
                line = line[1:-1]  # the corners belong to the next line too
                runs = [i for i in range(1, len(line)) if line[i] != line[i - 1]]
                if set(line) != {BLACK, WHITE} or {b - a for a, b in zip(runs, runs[1:])} != {4}:
                    return False
            return True
        previous = [wait_until(lambda: (lambda frame: clean(frame) and frame)(edges()), 3, interval=0.01,
                               what="the ring of dashes")]
        shifts = []

        def moved():
            now = edges()
            if clean(now) and now != previous[0]:
                shifts.append([shift(a, b) for a, b in zip(previous[0], now)])
                previous[0] = now
            return len(shifts) >= 3
        wait_until(moved, 3, interval=0.01, what="the dashes moving three times")
        for step in shifts:
            self.assertEqual(1, len(set(step)), shifts)
        self.assertIn([2, 2, 2, 2], shifts)
        self.assertNotIn([6, 6, 6, 6], shifts)


if __name__ == "__main__":
    unittest.main()

"""The magnified view of the real program, checked pixel by pixel on the X
screen: every screen pixel is enlarged to a zoom x zoom cell around the zoom
point, clamped at the screen edges, with the grid and the program's own
cursor drawn where they belong; an empty view draws nothing; the window is
kept on screen and can be made transparent."""
import subprocess
import unittest

from harness import ints, wait_until
from viewshot import OFF, ON, WINDOW, ViewTestCase, colorref_rgb, load_cursor_shape, pattern_point
from xscreen import pattern_colour

WM_WININICHANGE = 0x001A


class Picture(ViewTestCase):
    def test_each_screen_pixel_becomes_a_cell_around_the_zoom_point(self):
        app, view = self.start(3, (200, 150))
        self.assertFalse(view.empty)
        # The zoom point's own pixel is cell (halfCols, halfRows).
        self.assert_picture(view, (200, 150))
        self.assertEqual((200 - view.half_cols, 150 - view.half_rows), view.first_shown((200, 150)))
        # The last cell column and row are cut by the view's edge.
        self.assertNotEqual(0, view.width % 3)
        self.assertEqual(0, app.close())

    def test_grid_lines_on_every_cell_in_the_grid_colour(self):
        app, view = self.start(4, (300, 200), ShowGrid=ON, GridSize=1, GridColor=0x0000FF)
        self.assert_picture(view, (300, 200), grid_size=1, grid_colour=colorref_rgb(0x0000FF))
        # No line on the view's first pixel column or row.
        picture = view.grab()
        self.assertEqual(pattern_colour(*view.first_shown((300, 200))), picture[0][0])
        self.assertEqual((255, 0, 0), picture[4][5])
        self.assertEqual(0, app.close())

    def test_grid_every_fourth_cell(self):
        app, view = self.start(5, (400, 120), ShowGrid=ON, GridSize=4, GridColor=0x00FF00)
        self.assert_picture(view, (400, 120), grid_size=4, grid_colour=(0, 255, 0))
        self.assertEqual(0, app.close())

    def test_zoom_one_copies_the_screen_and_draws_no_grid_of_size_one(self):
        app, view = self.start(1, (250, 250), ShowGrid=ON, GridSize=1, GridColor=0x0000FF)
        self.assert_picture(view, (250, 250))
        self.assertEqual(0, app.close())

    def test_zoom_one_with_a_grid_of_four_draws_over_screen_pixels(self):
        app, view = self.start(1, (250, 250), ShowGrid=ON, GridSize=4, GridColor=0xFF00FF)
        self.assert_picture(view, (250, 250), grid_size=4, grid_colour=(255, 0, 255))
        picture = view.grab()
        self.assertEqual((255, 0, 255), picture[1][4])
        self.assertNotEqual((255, 0, 255), picture[1][3])
        self.assertEqual(0, app.close())

    def test_without_the_toolbar_the_picture_starts_at_the_top(self):
        app, view = self.start(6, (330, 220), DisplayToolbar=OFF, DisplayStatusbar=OFF)
        self.assertEqual(view.client[1], view.origin[1])
        self.assertEqual(view.client[3] - view.client[1], view.height)
        self.assert_picture(view, (330, 220))
        self.assertEqual(0, app.close())

    def test_with_the_toolbar_the_picture_starts_below_it(self):
        app, view = self.start(6, (330, 220))
        self.assertGreater(view.rebar_height, 10)
        self.assert_picture(view, (330, 220))
        # The row above the picture is the tool band's, not the picture's.
        above = self.screen.pixel(view.origin[0] + 1, view.origin[1] - 1)
        self.assertNotEqual(pattern_colour(*view.first_shown((330, 220))), above)
        self.assertEqual(0, app.close())

    def test_top_left_corner_clamps(self):
        app, view = self.start(8, (0, 0))
        self.assertEqual((0, 0), view.first_shown((0, 0)))
        self.assert_picture(view, (0, 0))
        self.assertEqual(0, app.close())

    def test_bottom_right_corner_clamps(self):
        w, h = self.screen.width, self.screen.height
        app, view = self.start(7, (w + 500, h + 500))
        self.assert_picture(view, (w + 500, h + 500))
        x0, y0 = view.first_shown((w, h))
        # The last screen column and row shown are the screen's last ones
        # (or one before when the count is even).
        self.assertEqual(w - 1 - (1 - view.cols % 2), x0 + view.cols - 1)
        self.assertEqual(h - 1 - (1 - view.rows % 2), y0 + view.rows - 1)
        self.assertEqual(0, app.close())
        # The stored zoom point is the one given, not the clamped one.
        self.assertEqual([w + 500, h + 500], ints(self.probe.registry()["ZoomPoint"][1]))


class Cursor(ViewTestCase):
    """Follow mode draws the program's own arrow (cursor 106, hot spot 0, 0)
    with its upper-left corner at the centre of the zoom point's cell. The X
    server leaves its own pointer out of screenshots, so every arrow pixel in
    the picture is the program's."""

    def follow(self, mouse, **settings):
        # (xdotool's --sync waits for ever when the pointer is there already.)
        subprocess.run(["xdotool", "mousemove", str(mouse[0]), str(mouse[1])], timeout=10, check=True)
        wait_until(lambda: (lambda c: (c["x"], c["y"]))(self.probe("cursor")) == mouse, 5, what="the pointer")
        values = dict(MouseTracking=ON, DisplayMouseWhenFollowing=ON)
        values.update(settings)
        app, view = self.start(5, (mouse[0] + 40, mouse[1] + 30), **values)
        # The readout timer moves the zoom point to the mouse.
        self.wait_for_picture(view, mouse)
        return app, view

    def assert_arrow(self, view, mouse):
        shape, hot_spot = load_cursor_shape()
        self.assertEqual((0, 0), hot_spot)
        # The centre of the cell showing the mouse's pixel.
        x0, y0 = view.first_shown(mouse)
        corner = (view.zoom * (mouse[0] - x0) + view.zoom // 2, view.zoom * (mouse[1] - y0) + view.zoom // 2)
        # The arrow's tip is black; it is there once the zoom point is at the mouse.
        wait_until(lambda: self.screen.pixel(view.origin[0] + corner[0], view.origin[1] + corner[1]) == (0, 0, 0),
                   10, what="the arrow's tip")
        picture = view.grab()
        background = view.expected(mouse)
        drawn = 0
        for v, row in enumerate(shape):
            for u, (and_bit, xor_bit) in enumerate(row):
                x, y = corner[0] + u, corner[1] + v
                if x >= view.width or y >= view.height:
                    continue
                under = background(x, y)
                if and_bit:
                    wanted = tuple(255 - c for c in under) if xor_bit else under
                else:
                    wanted = (255, 255, 255) if xor_bit else (0, 0, 0)
                    drawn += 1
                self.assertEqual(wanted, picture[y][x], "arrow pixel %d,%d" % (u, v))
        self.assertGreater(drawn, 50)
        # Outside the arrow the picture is the plain enlargement.
        self.assertEqual(background(corner[0] - 1, corner[1]), picture[corner[1]][corner[0] - 1])
        self.assertEqual(background(view.width - 1, 0), picture[0][view.width - 1])
        return corner

    def test_own_arrow_at_the_centre_of_the_mouse_cell(self):
        mouse = (260, 180)
        app, view = self.follow(mouse, bUseOSCursor=OFF)
        corner = self.assert_arrow(view, mouse)
        self.assertEqual((5 * view.half_cols + 2, 5 * view.half_rows + 2), corner)
        self.assertEqual(0, app.close())

    def test_at_the_screen_corner_the_arrow_leaves_the_view_centre(self):
        mouse = (3, 2)
        app, view = self.follow(mouse, bUseOSCursor=OFF)
        self.assertEqual((0, 0), view.first_shown(mouse))
        self.assertEqual((5 * 3 + 2, 5 * 2 + 2), self.assert_arrow(view, mouse))
        self.assertEqual(0, app.close())

    def test_system_cursor_over_another_program(self):
        # With bUseOSCursor the program draws what GetCursorInfo reports. Wine
        # reports no cursor while the pointer is over a non-Wine area (here
        # the X root window), so the picture shows none.
        mouse = (260, 180)
        app, view = self.follow(mouse, bUseOSCursor=ON)
        self.assert_picture(view, mouse)
        self.assertEqual(0, app.close())

    def test_no_cursor_without_follow_mode(self):
        app, view = self.start(5, (260, 180), MouseTracking=OFF, DisplayMouseWhenFollowing=ON, bUseOSCursor=OFF)
        self.assert_picture(view, (260, 180))
        self.assertEqual(0, app.close())

    def test_no_cursor_when_not_asked_for(self):
        app, view = self.follow((260, 180), DisplayMouseWhenFollowing=OFF, bUseOSCursor=OFF)
        self.assert_picture(view, (260, 180))
        self.assertEqual(0, app.close())


class EmptyView(ViewTestCase):
    def test_a_window_shorter_than_its_bars_draws_no_picture(self):
        app, view = self.start(3, (400, 100))
        self.assert_picture(view, (400, 100))
        # Shrunk until the bars overlap by one pixel: the view has no room.
        frame = (WINDOW[3] - WINDOW[1]) - (view.client[3] - view.client[1])
        self.probe("setpos", app.hwnd, 700, 500, 450, frame + view.rebar_height + view.status_height - 1)
        view.refresh()
        self.assertTrue(view.empty, "client %s, bars %d + %d" % (view.client, view.rebar_height,
                                                                view.status_height))
        # Paints come with the focus and the keys (the zoom point moves); none
        # may draw anything: the client keeps what it showed, the tool band
        # and the top row of the last picture.
        x0, y0, x1, y1 = view.client
        app.focus()
        before = self.screen.grab(x0, y0, x1 - x0, y1 - y0)
        self.assertTrue(any(300 <= pattern_point(c)[0] <= 500 for c in before[-1]))
        app.key("Right", "Right", "Left")
        app.focus()
        self.assertEqual(before, self.screen.grab(x0, y0, x1 - x0, y1 - y0))
        # Given room again, the picture comes back, one step to the right.
        self.probe("setpos", app.hwnd, 700, 500, 450, 300)
        view.refresh()
        self.assert_picture(view, (401, 100))
        self.assertEqual(0, app.close())


class KeepOnScreen(ViewTestCase):
    def test_a_window_saved_partly_off_screen_opens_inside(self):
        w, h = self.screen.width, self.screen.height
        app, _ = self.start(3, (100, 100), window=(-50, h - 68, 400, h + 182))
        # Moved right after it is first shown.
        wait_until(lambda: app.info()["rect"] == [0, h - 250, 450, h], 5, what="the window inside the screen")
        self.assertEqual(0, app.close())

    def test_a_settings_change_brings_the_window_back(self):
        w, h = self.screen.width, self.screen.height
        app, _ = self.start(3, (100, 100))
        self.probe("setpos", app.hwnd, w - 100, -40, 450, 250)
        self.assertEqual([w - 100, -40, w + 350, 210], app.info()["rect"])
        # As the system sends it (Wine does not deliver a posted one).
        self.probe.send(app.hwnd, WM_WININICHANGE)
        self.assertEqual([w - 450, 0, w, 250], app.info()["rect"])
        self.assertEqual(0, app.close())


class Transparency(ViewTestCase):
    """Ctrl+Shift+T makes the window layered with the stored alpha and back.
    Xvfb has no compositor: the window stays opaque on screen, so the test
    reads the layered state and the opacity Wine hands to the X server."""

    def x_opacity(self, app):
        out = subprocess.run(["xprop", "-id", str(app.x_window()), "_NET_WM_WINDOW_OPACITY"],
                             capture_output=True, text=True, timeout=10).stdout
        return int(out.split("=")[1]) if "=" in out else None

    def test_toggle_on_and_off(self):
        app, view = self.start(3, (200, 150), nTransparency=0x100 + 178)
        self.assertFalse(app.info()["layered"])
        app.key("ctrl+shift+t")
        wait_until(lambda: app.info()["layered"], 5, what="a layered window")
        info = app.info()
        self.assertTrue(info["layered_ok"])
        self.assertEqual(178, info["alpha"])
        self.assertEqual(178 * 0x01010101, self.x_opacity(app))

        app.key("ctrl+shift+t")
        wait_until(lambda: not app.info()["layered"], 5, what="an opaque window")
        self.assertIsNone(self.x_opacity(app))
        # Redrawn whole: the picture is there again.
        self.assert_picture(view, (200, 150))
        self.assertEqual(0, app.close())
        self.assertEqual(b"\x00", self.probe.registry()["Transparent"][1])


if __name__ == "__main__":
    unittest.main()

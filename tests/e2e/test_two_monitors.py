"""Scopella on two real monitors (an X server of the module's own, see
xmonitors.py), one scenario per layout: the view, the readouts, the overlays,
copies, saves, placement and dialogs on a monitor left of (and above) the
primary, where screen coordinates are negative, and a monitor that goes away
before the start and while the program runs."""
import os
import shutil
import tempfile

from dialog_support import Dialog, key
from harness import check_environment, ints, wait_until, windows_path, xdotool
from overlay_support import BLACK, HIGHLIGHT, MARQUEE, RED, TIP, OverlayTestCase
from test_imaging import clipboard, parse_bmp, read_file
from test_overlays import around
from viewshot import OFF, ViewGeometry, ViewTestCase
from xmonitors import PRIMARY_ONLY, SIDE_BY_SIDE, TALL_LEFT, MonitorPrefix, VirtualScreen, Xorg, wait_virtual_screen
from xscreen import pattern_colour

COPY_SELECTION_ORIGINAL = 4018
LEFT_MONITOR = (-1280, 0, 0, 1024)
WM_DISPLAYCHANGE = 0x007E


def inside(rect, area):
    return area[0] <= rect[0] and area[1] <= rect[1] and rect[2] <= area[2] and rect[3] <= area[3]


class TwoMonitors(OverlayTestCase):
    @classmethod
    def setUpClass(cls):
        check_environment()
        cls.logs = tempfile.mkdtemp(prefix="scopella-xorg-")
        cls.xorg = cls.prefix = None
        try:
            cls.xorg = Xorg(cls.logs)
            cls.prefix = MonitorPrefix(cls.xorg.display)
            # The probe and the screen of the module, without the pattern on
            # the single screen: each test paints its own layout.
            super(ViewTestCase, cls).setUpClass()
        except BaseException:
            cls.stop_server()
            raise

    @classmethod
    def tearDownClass(cls):
        try:
            super().tearDownClass()
        finally:
            cls.stop_server()

    @classmethod
    def stop_server(cls):
        if cls.prefix:
            cls.prefix.close()
        if cls.xorg:
            cls.xorg.stop()
        shutil.rmtree(cls.logs, ignore_errors=True)

    def use_layout(self, layout):
        """Sets the monitors, waits until Wine sees them, paints the pattern."""
        arguments, virtual = layout
        self.xorg.xrandr(arguments)
        wait_virtual_screen(self.probe, virtual)
        self.screen = VirtualScreen(virtual)
        self.addCleanup(self.screen.close)
        self.screen.paint_root()

    # Pointer positions in Windows screen coordinates, for all helpers.
    def move(self, x, y):
        OverlayTestCase.move(*self.screen.x(x, y))

    def wait_pane(self, app, pane, text):
        wait_until(lambda: app.status_text(pane)["text"] == text, 5,
                   what="pane %d to read %r (reads %r)" % (pane, text, app.status_text(pane)["text"]))

    def close_dialog(self, app, title):
        """Closes the dialog that opened with Escape; gives where it was."""
        dialog = Dialog(self.probe, title, app.hwnd)
        rect = dialog.info()["rect"]
        key("Escape")
        dialog.wait_closed(app)
        return rect

    def test_side_by_side_view_readouts_pick_follow_and_placement_on_the_left_monitor(self):
        self.use_layout(SIDE_BY_SIDE)
        app, view = self.start(4, (-1000, 150), window=(100, 500, 550, 800), nFastScrollRate=5000,
                               DisplayMouseWhenFollowing=OFF)
        # Dragged by its caption onto the left monitor.
        window = [-700, 500, -250, 800]
        self.press(1, 300, 510, until=lambda: app.info()["capture"])
        self.drag_to(-500, 510, until=lambda: app.info()["rect"] == window)
        xdotool("mouseup", 1)
        wait_until(lambda: not app.info()["capture"], 5, what="the move ended")
        self.assert_picture(view, (-1000, 150))

        # The readouts under the mouse on the left monitor.
        self.move(-1100, 40)
        self.wait_pane(app, 3, " -1100, 40 ")
        self.wait_pane(app, 1, "Colour (rgb): %03d,%03d,%03d " % pattern_colour(-1100, 40))

        # Keys: the clamps are the virtual screen's left and top edges.
        app.key("ctrl+Left", "ctrl+Up")
        self.assertEqual((-1280, 0), view.first_shown((-5000, -5000)))
        self.assert_picture(view, (-5000, -5000))

        # A left-drag over the monitor boundary and back: frame and picture
        # follow, pixel-exact on both sides of it; the tip stays put.
        start = (view.origin[0] + 40, view.origin[1] + 30)
        self.press(1, *start, until=lambda: self.overlay(HIGHLIGHT) and self.overlay(TIP))
        tip = self.overlay(TIP)["rect"]
        self.assertEqual((start[0], start[1] - view.half_rows - 3), (tip[0], tip[3]))
        for point in ((-3, 400), (20, 380), (-300, 300)):
            self.drag_to(*point, until=lambda: self.overlay(HIGHLIGHT)["rect"] == around(view, point))
            self.assert_picture(view, point)
        self.assertEqual(tip, self.overlay(TIP)["rect"])
        frame = self.overlay(HIGHLIGHT)["rect"]
        y = (frame[1] + frame[3]) // 2
        self.assertEqual([BLACK, RED, BLACK, pattern_colour(frame[0] + 3, y)], self.screen.grab(frame[0], y, 4, 1)[0])
        xdotool("mouseup", 1)
        self.wait_no_overlay(HIGHLIGHT)
        self.assert_picture(view, (-300, 300))

        # Follow mode: the view goes with the pointer to the primary and back.
        app.key("ctrl+m")
        for point in ((-600, 200), (400, 250), (-900, 100)):
            self.move(*point)
            self.assert_picture(view, point)
        app.key("ctrl+m")

        # The window comes back where it was, on the left monitor.
        self.assertEqual(0, app.close())
        self.assertEqual(window, ints(self.probe.registry()["WindowPos"][1]))
        self.assertEqual([-900, 100], ints(self.probe.registry()["ZoomPoint"][1]))
        again = self.launch()
        self.assertEqual(window, again.info()["rect"])
        self.assertEqual(0, again.close())

    def test_side_by_side_frame_selection_copy_save_and_dialogs_on_the_left_monitor(self):
        self.use_layout(SIDE_BY_SIDE)
        window = (-1100, 400, -500, 800)
        app, view = self.start(3, (-200, 150), window=window, InitialDirectory=windows_path(self.workdir) + "\\")

        app.key("ctrl+h")
        self.assertEqual(around(view, (-200, 150)), self.wait_overlay(HIGHLIGHT)["rect"])

        # A selection in the view: the marquee on the left monitor, the copy
        # holds the pixels from there.
        first = view.first_shown((-200, 150))
        corner = (view.client[0], view.client[1] + view.top)
        self.press(3, corner[0] + 3, corner[1] + 3, until=lambda: self.probe.windows(MARQUEE))
        self.drag_to(corner[0] + 33, corner[1] + 18, until=lambda: self.tip_text() == "Selected size 10x5")
        self.assertEqual([corner[0] + 3, corner[1] + 3, corner[0] + 33, corner[1] + 18],
                         self.overlay(MARQUEE)["rect"])
        xdotool("mouseup", 3)
        menu, items = self.open_menu()
        self.assertTrue(inside(menu["rect"], LEFT_MONITOR), menu["rect"])
        self.choose(items, COPY_SELECTION_ORIGINAL)
        data = wait_until(lambda: clipboard("image/bmp"), 20, what="the bitmap")
        self.assertEqual([[pattern_colour(first[0] + 1 + x, first[1] + 1 + y) for x in range(10)] for y in range(5)],
                         parse_bmp(data)[1])

        # The Save As dialog on the main window's monitor; the file holds the
        # view's pixels from the left monitor.
        app.key("ctrl+s")
        box = Dialog(self.probe, "Save As", app.hwnd, 15)
        self.assertTrue(inside(box.info()["rect"], LEFT_MONITOR), box.info()["rect"])
        key("l", "e", "f", "t", "Return")
        box.wait_closed(app, 15)
        path = os.path.join(self.workdir, "left.bmp")
        rows = parse_bmp(wait_until(lambda: os.path.exists(path) and read_file(path), 10, what=path))[1]
        self.assertEqual(self.screen.grab(first[0], first[1], view.cols, view.rows), rows)

        # Options and About open on the monitor of the main window, which is
        # topmost there too.
        for keys, title in (("ctrl+o", "Options"), ("ctrl+a", "About")):
            app.key(keys)
            rect = self.close_dialog(app, title)
            self.assertTrue(inside(rect, LEFT_MONITOR), (title, rect))
        app.key("ctrl+t")
        wait_until(lambda: app.info()["topmost"], 5, what="the window topmost")
        self.assertEqual(list(window), app.info()["rect"])
        self.assertEqual(0, app.close())

    def test_tall_left_monitor_reaches_above_the_primary(self):
        self.use_layout(TALL_LEFT)
        window = (-1000, -150, -550, 150)
        app, view = self.start(4, (-300, -100), window=window, nFastScrollRate=5000)
        self.assertEqual(list(window), app.info()["rect"])
        self.assert_picture(view, (-300, -100))
        self.move(-1250, -180)
        self.wait_pane(app, 3, " -1250, -180 ")
        app.key("ctrl+Up", "ctrl+Left")
        self.assertEqual((-1280, -200), view.first_shown((-5000, -5000)))
        self.assert_picture(view, (-5000, -5000))
        app.key("ctrl+o")
        rect = self.close_dialog(app, "Options")
        self.assertTrue(inside(rect, (-1280, -200, 0, 824)), rect)
        self.assertEqual(0, app.close())
        self.assertEqual(list(window), ints(self.probe.registry()["WindowPos"][1]))
        # A place below the left monitor lies within the bounding rectangle of
        # both, but no monitor shows it: the window opens on the nearest one.
        app, _ = self.start(4, (-300, -100), window=(-1000, 900, -550, 1150))
        self.assertEqual([-1000, 574, -550, 824], app.info()["rect"])
        self.assertEqual(0, app.close())

    def test_left_monitor_switched_off_before_the_start_and_while_running(self):
        self.use_layout(PRIMARY_ONLY)
        app, view = self.start(4, (-1000, 200), window=(-900, 300, -450, 550))
        # The stored place is gone: the window opens on the remaining screen.
        self.assertEqual([0, 300, 450, 550], app.info()["rect"])
        self.assert_picture(view, (-1000, 200))
        self.assertEqual(0, app.close())

        self.use_layout(SIDE_BY_SIDE)
        app, view = self.start(4, (-1000, 200), window=(-900, 300, -450, 550))
        self.assertEqual([-900, 300, -450, 550], app.info()["rect"])
        self.assert_picture(view, (-1000, 200))
        # The monitor goes while the program runs: the window moves onto the
        # remaining screen, and the zoom point's clamps are that screen's.
        self.use_layout(PRIMARY_ONLY)
        # Wine (8.0) tells running programs nothing when an output goes;
        # Windows sends every top-level window WM_DISPLAYCHANGE, as here.
        self.probe.send(app.hwnd, WM_DISPLAYCHANGE, 32, 1280 | 1024 << 16)
        wait_until(lambda: app.info()["rect"] == [0, 300, 450, 550], 10,
                   what="the window on the primary (at %s)" % app.info()["rect"])
        view = ViewGeometry(self.probe, app.hwnd, self.screen, 4)
        self.assert_picture(view, (-1000, 200))
        self.assertEqual(0, app.close())
        self.assertEqual([0, 300, 450, 550], ints(self.probe.registry()["WindowPos"][1]))

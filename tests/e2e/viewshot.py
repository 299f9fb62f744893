"""What the magnified view of a running Scopella must show, worked out from
outside: the client rectangle and the bars (read through the probe), the
settings the test wrote, and the test pattern on the X root window, whose
every pixel has a colour of its own, so a view pixel tells which screen pixel
it shows."""
import os
import struct

from harness import ScopellaTestCase, Timeout, wait_until
from xscreen import _x11, pattern_colour

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def pattern_point(rgb):
    """The screen pixel whose pattern colour this is."""
    r, g, b = rgb
    return (r | (b & 0x0F) << 8, g | (b >> 4) << 8)


def colorref_rgb(value):
    return (value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF)


def load_cursor_shape(path=os.path.join(ROOT, "resources", "arrow.cur")):
    """The monochrome cursor as rows of (and, xor) bit pairs, top row first,
    and its hot spot."""
    data = open(path, "rb").read()
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    assert kind == 2 and count >= 1, "not a cursor file"
    width, height, _, _, hot_x, hot_y, _, offset = struct.unpack_from("<BBBBHHII", data, 6)
    header = struct.unpack_from("<IiiHHIIiiII", data, offset)
    assert header[4] == 1, "expected a monochrome cursor"
    stride = ((width + 31) // 32) * 4
    bits = offset + header[0] + 8  # two palette entries: black, white
    xor = data[bits: bits + stride * height]
    and_ = data[bits + stride * height: bits + 2 * stride * height]
    rows = []
    for row in range(height - 1, -1, -1):  # bottom-up in the file
        line = []
        for col in range(width):
            byte, bit = row * stride + col // 8, 7 - col % 8
            line.append(((and_[byte] >> bit) & 1, (xor[byte] >> bit) & 1))
        rows.append(line)
    return rows, (hot_x, hot_y)


class ViewGeometry:
    """The view of one window as the program lays it out: the client area less
    the shown tool band and status bar, cut into zoom x zoom cells."""

    def __init__(self, probe, hwnd, screen, zoom, toolbar=True, statusbar=True):
        self.probe, self.hwnd, self.screen = probe, hwnd, screen
        self.zoom, self.toolbar, self.statusbar = zoom, toolbar, statusbar
        self.screen_w, self.screen_h = screen.width, screen.height
        self.refresh()

    def refresh(self):
        """Reads the client rectangle and the bars again. Right after the
        window appears the tool band may still be settling to its height."""
        info = self.probe.info(self.hwnd)
        left, top, right, bottom = info["client"]
        children = self.probe.children(self.hwnd)
        rebar = next(c["rect"] for c in children if c["class"] == "ReBarWindow32")
        status = next(c["rect"] for c in children if c["class"] == "msctls_statusbar32")
        # The program takes the tool band's height less its 2 border pixels,
        # and the status bar's whole height.
        self.rebar_height = rebar[3] - rebar[1] - 2
        self.status_height = status[3] - status[1]
        zoom = self.zoom
        self.client = (left, top, right, bottom)
        self.top = self.rebar_height if self.toolbar else 0
        view_bottom = (bottom - top) - (self.status_height if self.statusbar else 0)
        self.width = right - left
        self.height = view_bottom - self.top
        self.origin = (left, top + self.top)  # screen position of view pixel (0, 0)
        self.cols = self.width // zoom + 1
        self.rows = self.height // zoom + 1
        self.half_cols = self.cols // 2
        self.half_rows = self.rows // 2

    @property
    def empty(self):
        return self.width < 0 or self.height < 0

    def clamp(self, point):
        x, y = point
        # The screen's top-left: (0, 0) but on a virtual screen of several monitors.
        left, top = getattr(self.screen, "left", 0), getattr(self.screen, "top", 0)
        low_x, high_x = left + self.half_cols, left + self.screen_w - self.half_cols - 1
        low_y, high_y = top + self.half_rows, top + self.screen_h - self.half_rows - 1
        x = low_x if x < low_x else (high_x if x > high_x else x)
        y = low_y if y < low_y else (high_y if y > high_y else y)
        return x, y

    def first_shown(self, point):
        """Screen pixel shown in cell (0, 0) for a zoom point."""
        cx, cy = self.clamp(point)
        return cx - self.half_cols, cy - self.half_rows

    def grab(self):
        return self.screen.grab(self.origin[0], self.origin[1], self.width, self.height)

    def centre_cell_point(self):
        """The screen pixel the zoom point's cell (halfCols, halfRows) shows now."""
        x = self.origin[0] + self.zoom * self.half_cols
        y = self.origin[1] + self.zoom * self.half_rows
        return pattern_point(self.screen.pixel(x, y))

    def expected(self, point, grid_size=None, grid_colour=(0, 0, 0)):
        """A function (x, y) -> colour of the view pixel, for a zoom point,
        with the grid when grid_size is given (ShowGrid set)."""
        z = self.zoom
        x0, y0 = self.first_shown(point)
        grid = grid_size is not None and (z >= 2 or grid_size > 1)

        def on_grid(pixel, count):
            cell = pixel // z
            return grid and pixel % z == 0 and cell % grid_size == 0 and 0 < cell < count

        def colour(x, y):
            if on_grid(x, self.cols) or on_grid(y, self.rows):
                return grid_colour
            return pattern_colour(x0 + x // z, y0 + y // z)
        return colour

    def mismatches(self, picture, expected, limit=6):
        """Where the picture differs: [] or the first few (x, y, seen, wanted)
        followed by a summary of all: ("count", n, "box", (x0, y0, x1, y1))."""
        found = []
        count = 0
        box = [None, None, None, None]
        for y, row in enumerate(picture):
            for x, seen in enumerate(row):
                wanted = expected(x, y)
                if seen != wanted:
                    count += 1
                    if len(found) < limit:
                        found.append((x, y, seen, wanted))
                    box = [x if box[0] is None else min(box[0], x), y if box[1] is None else box[1],
                           x if box[2] is None else max(box[2], x), y]
        if count:
            found.append(("count", count, "box", tuple(box)))
        return found


def rect_bytes(*values):
    return b"".join(v.to_bytes(4, "little", signed=True) for v in values)


ON, OFF = b"\x01", b"\x00"
# The window stays in the lower right quarter; the pictures come from
# elsewhere, so the window never magnifies itself.
WINDOW = (700, 500, 1150, 800)


class ViewTestCase(ScopellaTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.screen.paint_root()

    @classmethod
    def tearDownClass(cls):
        # The root window gets the X server's own background back (None does
        # that for the root), so later modules find the screen as it was.
        screen = cls.screen
        if screen and screen.display:
            _x11.XSetWindowBackgroundPixmap(screen.display, screen.root, 0)
            _x11.XClearWindow(screen.display, screen.root)
            _x11.XSync(screen.display, 0)
        super().tearDownClass()

    def start(self, zoom, point, window=WINDOW, command=None, **settings):
        values = dict(ZoomFactor=zoom, ZoomPoint=rect_bytes(*point), WindowPos=rect_bytes(*window),
                      MouseTracking=OFF, Update=1)
        values.update(settings)
        self.write_settings(**values)
        app = self.launch(command=command)
        toolbar = values.get("DisplayToolbar", ON) == ON
        statusbar = values.get("DisplayStatusbar", ON) == ON
        view = ViewGeometry(self.probe, app.hwnd, self.screen, zoom, toolbar, statusbar)
        return app, view

    def wait_for_picture(self, view, point):
        def shown():
            view.refresh()
            return view.centre_cell_point() == view.clamp(point)
        wait_until(shown, 10, what="the view showing %s" % (point,))

    def assert_picture(self, view, point, timeout=10, **grid):
        """Waits for the view to show exactly the expected picture; reports the
        first wrong pixels with the screen points their colours belong to."""
        wrong = []

        def matches():
            view.refresh()
            wrong[:] = view.mismatches(view.grab(), view.expected(point, **grid))
            return not wrong
        try:
            wait_until(matches, timeout, interval=0.2, what="the expected picture")
        except Timeout:
            pass
        report = [w if w[0] == "count" else w[:3] + (pattern_point(w[2]),) + w[3:] for w in wrong]
        self.assertEqual([], report, "view pixels (x, y, seen, its screen point, wanted), then how many")

"""Helpers of the window-chrome and readout tests: finding the controls of a
running Scopella, moving and clicking the real mouse, reading the tooltip
that is shown, and commands sent as another program would send them."""
import subprocess
import time

from harness import WM_COMMAND, ScopellaTestCase, wait_until, xdotool

WM_HSCROLL = 0x0114
WM_MENUSELECT = 0x011F
SBT_NOBORDERS = 0x0100
SBT_OWNERDRAW = 0x1000
TBSTATE_CHECKED, TBSTATE_ENABLED = 0x01, 0x04
TBSTYLE_SEP, TBSTYLE_CHECK = 0x01, 0x02

# Commands (WM_COMMAND ids) the tests use.
ALWAYS_ON_TOP, FOLLOW_MOUSE, TOGGLE_GRID, OPTIONS = 112, 4009, 4027, 4017
SAVE_IMAGE, COPY_ZOOMED, COPY_ORIGINAL = 32774, 32771, 32772
TOGGLE_TOOLBAR, TOGGLE_STATUSBAR = 4015, 4016
COLOUR_RGB, COLOUR_HEX, COORDS_SCREEN, COORDS_CLIENT = 4028, 4029, 4030, 4031

# A place on the screen far from every Scopella window the tests open.
FAR = (900, 700)


def rect_bytes(*values):
    return b"".join(v.to_bytes(4, "little", signed=True) for v in values)


def mouse_position():
    out = xdotool("getmouselocation")
    values = dict(part.split(":", 1) for part in out.split() if ":" in part)
    return int(values["x"]), int(values["y"])


def centre(rect):
    """The middle of a (left, top, right, bottom) rectangle."""
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def move_mouse(x, y):
    # xdotool's --sync waits for a movement, which never comes when the
    # pointer is already there.
    if mouse_position() != (x, y):
        xdotool("mousemove", "--sync", x, y)


def click(x, y, button=1):
    move_mouse(x, y)
    xdotool("click", button)


class Chrome:
    """The controls of one running Scopella, as another program finds them."""

    def __init__(self, app):
        probe = app.probe
        self.app, self.probe = app, probe
        children = probe.children(app.hwnd)
        by_class = lambda name: [c for c in children if c["class"] == name]
        self.toolbar = by_class("ToolbarWindow32")[0]["hwnd"]
        rebars = by_class("ReBarWindow32")
        self.rebar = rebars[0]["hwnd"] if rebars else None
        self.status = by_class("msctls_statusbar32")[0]["hwnd"]
        # The zoom trackbar lies left of the rate trackbar.
        self.zoom, self.rate = [c["hwnd"] for c in sorted(by_class("msctls_trackbar32"), key=lambda c: c["rect"][0])]
        self.tooltip = next(h for h in probe.windows("tooltips_class32") if probe.info(h)["owner"] == app.hwnd)

    def rect(self, hwnd):
        return self.probe.info(hwnd)["rect"]

    def client(self, hwnd):
        return self.probe.info(hwnd)["client"]

    def buttons(self):
        return self.probe("tbbuttons", self.toolbar)["buttons"]

    def button(self, command):
        return next(b for b in self.buttons() if b["command"] == command)

    def checked(self, command):
        return bool(self.button(command)["state"] & TBSTATE_CHECKED)

    def button_centre(self, command):
        """Screen point at the middle of a toolbar button."""
        left, top = self.client(self.toolbar)[:2]
        r = self.button(command)["rect"]
        return left + (r[0] + r[2]) // 2, top + (r[1] + r[3]) // 2

    def trackbar(self, hwnd):
        return self.probe("trackbar", hwnd)

    def tools(self):
        return self.probe("tools", self.tooltip)["tools"]

    def tool_text(self, hwnd):
        return next(t["text"] for t in self.tools() if t["id"] == hwnd)

    def pane(self, index):
        return self.probe("sbtext", self.status, index)

    def pane_rect(self, index):
        """A status-bar pane in screen coordinates."""
        left, top = self.client(self.status)[:2]
        r = self.probe("sbrect", self.status, index)["rect"]
        return [left + r[0], top + r[1], left + r[2], top + r[3]]

    def edges(self):
        return self.probe("sbparts", self.status)["edges"]

    def command(self, command):
        self.probe.send(self.app.hwnd, WM_COMMAND, command, 0)

    def shown_tip(self, timeout=5):
        """Text of the tooltip once it is shown (hovering has to start it)."""
        wait_until(lambda: self.probe.info(self.tooltip)["visible"], timeout, what="a tooltip shown")
        return self.probe("gettext", self.tooltip)["text"]

    def hover_tip(self, x, y, expected, timeout=5):
        """Moves the mouse to (x, y) and waits until the tooltip shows
        `expected`; returns the last text shown."""
        move_mouse(x, y)
        seen = []

        def shows():
            if not self.probe.info(self.tooltip)["visible"]:
                return False
            seen.append(self.probe("gettext", self.tooltip)["text"])
            return seen[-1] == expected
        try:
            wait_until(shows, timeout, what="the tooltip %r" % expected)
        except AssertionError:
            pass
        return seen[-1] if seen else None


class ChromeTestCase(ScopellaTestCase):
    def setUp(self):
        super().setUp()
        move_mouse(*FAR)

    def tearDown(self):
        # A failed drag must not leave a button held down for the next test.
        subprocess.run(["xdotool", "mouseup", "1"], timeout=10)
        super().tearDown()

    def launch_at(self, left, top, right, bottom, **settings):
        self.write_settings(WindowPos=rect_bytes(left, top, right, bottom), **settings)
        app = self.launch()
        return app, Chrome(app)

    def wait_pane(self, chrome, index, text, timeout=5):
        return wait_until(lambda: chrome.pane(index)["text"] == text, timeout,
                          what="pane %d to read %r (reads %r)" % (index, text, chrome.pane(index)["text"]))

    @staticmethod
    def settle(seconds=0.35):
        """Lets a few readout ticks (100 ms each) pass."""
        time.sleep(seconds)

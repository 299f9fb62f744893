"""Helpers of the overlay and selection tests: the program's own pop-up
windows (highlight frame, marquee, tracking tip) and its pop-up menus as
another program finds them, and mouse drags made of real X input."""
import os

from harness import Timeout, wait_until, xdotool
from viewshot import ROOT, ViewTestCase, load_cursor_shape

HIGHLIGHT, MARQUEE, TIP = "Brindle-draghighlight", "tiv_Marquee", "tiv_TrackingToolTip"
MENU = "#32768"
WS_EX_TOPMOST, WS_EX_TOOLWINDOW = 0x8, 0x80

# Commands of the menus.
WHATS_THIS, ZOOM_TO, CANCEL = 4013, 4024, 4023
HELP_WM_HELP, HELP_CONTEXTPOPUP = 0x000C, 0x0008

BLACK, RED, WHITE = (0, 0, 0), (255, 0, 0), (255, 255, 255)


def magnifier_cursor():
    """The magnifying-glass cursor as the X server shows it: (width, height,
    hot x, hot y, ARGB pixels)."""
    rows, (hot_x, hot_y) = load_cursor_shape(os.path.join(ROOT, "resources", "magnifier.cur"))
    argb = {(0, 0): 0xFF000000, (0, 1): 0xFFFFFFFF, (1, 0): 0}
    pixels = tuple(argb[bits] for row in rows for bits in row)
    return len(rows[0]), len(rows), hot_x, hot_y, pixels


class OverlayTestCase(ViewTestCase):
    def tearDown(self):
        # A failed test must not leave a button held or a menu open.
        for button in (1, 3):
            xdotool("mouseup", button)
        super().tearDown()

    # --- the program's own windows -----------------------------------------
    def overlay(self, cls):
        """The info of the one shown window of the class, or None."""
        shown = [self.probe.info(h) for h in self.probe.windows(cls)]
        shown = [i for i in shown if i["visible"]]
        self.assertLessEqual(len(shown), 1, "more than one %s window" % cls)
        return shown[0] if shown else None

    def wait_overlay(self, cls, timeout=5):
        return wait_until(lambda: self.overlay(cls), timeout, what="a %s window" % cls)

    def wait_no_overlay(self, cls, timeout=5):
        wait_until(lambda: not self.probe.windows(cls), timeout, what="no %s window" % cls)

    def tip_text(self):
        tip = self.overlay(TIP)
        return tip and self.probe("gettext", tip["hwnd"])["text"]

    # --- pop-up menus -----------------------------------------------------------
    def open_menu(self, timeout=5):
        """The menu window shown now, once it is shown, and its items."""
        def shown():
            for hwnd in self.probe.windows(MENU):
                if self.probe.info(hwnd)["visible"]:
                    return hwnd
            return None
        hwnd = wait_until(shown, timeout, what="a pop-up menu")
        self.menu_pid = self.probe.info(hwnd)["pid"]
        return self.probe.info(hwnd), self.probe("menu", hwnd)["items"]

    def wait_menu_closed(self, timeout=5):
        """Waits until the menu window is gone (not only hidden: until then
        Wine may still take the next button press for the menu)."""
        def gone():
            return not [h for h in self.probe.windows(MENU) if self.probe.info(h)["pid"] == self.menu_pid]
        wait_until(gone, timeout, what="the pop-up menu closed")

    @staticmethod
    def summary(items):
        """(id, text, checked, grayed) of the items; separators as None."""
        return [None if i["separator"] else (i["id"], i["text"], i["checked"], i["grayed"]) for i in items]

    def choose(self, items, command):
        """Clicks the item of the command in the shown menu."""
        r = next(i["rect"] for i in items if i["id"] == command)
        self.click_at((r[0] + r[2]) // 2, (r[1] + r[3]) // 2)
        self.wait_menu_closed()

    # --- real mouse ---------------------------------------------------------------
    @staticmethod
    def move(x, y):
        # --sync waits for a movement, which never comes when the pointer is there.
        if (x, y) != _mouse():
            xdotool("mousemove", "--sync", x, y)

    def click_at(self, x, y, button=1):
        self.move(x, y)
        xdotool("click", button)

    def press(self, button, x, y, until, after_menu=False):
        """Presses a button at (x, y) and waits for what must follow.

        Right after a pop-up menu closed, Wine (8.0) may drop the next button
        press while it leaves its menu mode; no window state shows when that
        is over, so after a menu a press that shows no effect is made again."""
        self.move(x, y)
        for attempt in range(3 if after_menu else 1):
            xdotool("mousedown", button)
            try:
                return wait_until(until, 1.5 if after_menu else 5, what="the program taking the button down")
            except Timeout:
                if attempt == 2 or not after_menu:
                    raise
                xdotool("mouseup", button)

    def drag_to(self, x, y, until):
        self.move(x, y)
        return wait_until(until, 5, what="the program following the drag to %s" % ((x, y),))


def _mouse():
    values = dict(part.split(":", 1) for part in xdotool("getmouselocation").split() if ":" in part)
    return int(values["x"]), int(values["y"])

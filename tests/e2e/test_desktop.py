"""Scopella on a real Linux desktop: always on top under a real window manager
(openbox), see-through under a compositing manager (xcompmgr), and the lean
Wine prefix it runs in (no device drivers, Wine's own fonts)."""
import os
import subprocess
import unittest

from harness import PREFIX, ScopellaTestCase, wait_until, xdotool
from xdesktop import PlainWindow, RootPixmap, prop, stacking, start_openbox, start_xcompmgr

BACKGROUND = (200, 30, 150)   # the desktop beneath, under the compositor
PLAIN = (20, 230, 40)         # another program's window


def wine_reg(*args):
    subprocess.run(["wine", "reg"] + list(args) + ["/f"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=30, check=True)


def rect_bytes(*values):
    return b"".join(v.to_bytes(4, "little", signed=True) for v in values)


class AlwaysOnTop(ScopellaTestCase):
    # The test prefix lets Wine draw frames itself (no window manager); under
    # openbox Scopella's windows are managed, as on a desktop.
    APP_KEY = r"HKCU\Software\Wine\AppDefaults\scopella.exe\X11 Driver"

    def setUp(self):
        super().setUp()
        wine_reg("add", self.APP_KEY, "/v", "Managed", "/t", "REG_SZ", "/d", "Y")
        self.addCleanup(wine_reg, "delete", r"HKCU\Software\Wine\AppDefaults\scopella.exe")
        self.wm = start_openbox(self.workdir)
        self.addCleanup(self.wm.stop)

    def start_under_another_window(self, always_on_top):
        """Scopella, and another program's window over its lower right."""
        self.write_settings(WindowPos=rect_bytes(100, 100, 550, 350), Update=1,
                            AlwaysOnTop=int(always_on_top).to_bytes(4, "little"))
        self.app = self.launch()
        self.client = self.app.x_window()
        geometry = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", self.client).split())
        x, y = int(geometry["X"]) + int(geometry["WIDTH"]) // 2, int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2
        self.other = PlainWindow(self.screen, (x, y, 400, 300), PLAIN)
        self.addCleanup(self.other.destroy)
        xdotool("windowmove", self.other.xid, x, y)
        self.inside_both, self.inside_other = (x + 20, y + 20), (x + 380, y + 280)
        wait_until(lambda: self.screen.pixel(*self.inside_other) == PLAIN, 10, what="the other window shown")

    def above(self):
        return "_NET_WM_STATE_ABOVE" in prop(self.client, "_NET_WM_STATE")

    def expect_above(self, above):
        """With _NET_WM_STATE_ABOVE (and only then) Scopella stays above the
        other window when that is raised."""
        wait_until(lambda: self.above() == above, 10, what="_NET_WM_STATE_ABOVE %s" % ("set" if above else "off"))
        self.other.raise_()
        wait_until(lambda: (self.screen.pixel(*self.inside_both) == PLAIN) != above, 10,
                   what="Scopella %s the raised window" % ("above" if above else "below"))
        order = stacking()
        self.assertEqual(above, order.index(self.other.xid) < order.index(self.client))

    # todo_wine: Wine 8 does not make a window that owns a topmost pop-up (the
    # tooltip control) WS_EX_TOPMOST, so Wine never asks for
    # _NET_WM_STATE_ABOVE. The steps after the first check wait for a fix.
    @unittest.expectedFailure
    def test_ctrl_t_keeps_the_window_above_a_raised_window_until_ctrl_t_again(self):
        self.start_under_another_window(always_on_top=False)
        self.expect_above(False)
        self.ctrl_t()
        wait_until(lambda: self.app.info()["topmost"], 10, what="WS_EX_TOPMOST")
        self.expect_above(True)
        self.ctrl_t()
        self.expect_above(False)
        self.assertEqual(0, self.app.close())

    def ctrl_t(self):
        """Ctrl+T as a person gives it: the window activated through the
        window manager (which raises it), then the key."""
        xdotool("windowactivate", "--sync", self.client)
        wait_until(lambda: self.app.info()["foreground"], 5, what="Scopella in the foreground")
        xdotool("key", "--clearmodifiers", "ctrl+t")


class SeeThrough(ScopellaTestCase):
    def setUp(self):
        super().setUp()
        self.background = RootPixmap(self.screen, BACKGROUND)
        self.addCleanup(self.background.remove)
        self.compositor = start_xcompmgr(self.screen, self.workdir)
        self.addCleanup(self.compositor.stop)

    def chrome(self, app):
        """The caption and tool band rows: they stay the same while the
        mouse rests outside the window (the view would show itself)."""
        left, top, right, _ = app.info()["rect"]
        return self.screen.grab(left + 4, top + 4, right - left - 8, 40)

    def expect_blend(self, opaque, alpha):
        def blended():
            now = self.chrome(self.app)
            worst = max(abs(round(alpha * w + (1 - alpha) * b) - n)
                        for row_w, row_n in zip(opaque, now) for pw, pn in zip(row_w, row_n)
                        for w, b, n in zip(pw, BACKGROUND, pn))
            return worst <= 3 or None
        wait_until(blended, 10, what="the window blended at alpha %.2f" % alpha)

    def test_semi_transparent_pixels_blend_with_the_desktop_at_the_set_alpha(self):
        self.probe("setcursor", 1200, 1000)
        self.write_settings(WindowPos=rect_bytes(100, 100, 550, 350), Update=1, Transparent=b"\0",
                            nTransparency=178)
        self.app = self.launch()
        self.assertEqual(BACKGROUND, self.screen.pixel(1000, 900))  # the compositor's desktop
        self.app.focus()  # an active caption from here on
        opaque = wait_until(lambda: (lambda a, b: a if a == b else None)(self.chrome(self.app),
                                                                          self.chrome(self.app)),
                            10, what="the window drawn")
        self.app.key("ctrl+shift+t")
        self.expect_blend(opaque, 178 / 255)
        self.app.key("ctrl+shift+t")
        wait_until(lambda: self.chrome(self.app) == opaque, 10, what="the window opaque again")
        self.assertEqual(0, self.app.close())

        # A second alpha, from the settings at start.
        self.write_settings(Transparent=b"\1", nTransparency=90)
        self.app = self.launch()
        self.app.focus()
        self.expect_blend(opaque, 90 / 255)
        self.assertEqual(0, self.app.close())


def modules_of_prefix(prefix):
    """{pid: set of mapped file names} of every process running in the prefix."""
    found = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/environ" % pid, "rb") as f:
                if ("WINEPREFIX=" + prefix).encode() not in f.read().split(b"\0"):
                    continue
            with open("/proc/%s/maps" % pid) as f:
                found[pid] = {os.path.basename(line.split()[-1]).lower() for line in f if "/" in line}
        except OSError:
            pass
    return found


class LeanPrefix(ScopellaTestCase):
    def test_no_device_drivers_run_and_wine_fonts_are_found(self):
        self.launch()
        loaded = set().union(*modules_of_prefix(PREFIX).values())
        self.assertIn("scopella.exe", loaded)
        self.assertIn("winedevice.exe", loaded)  # Wine's other drivers do run
        self.assertFalse({"winebus.sys", "wineusb.sys"} & loaded)
        for face in ("Marlett", "Tahoma", "Symbol"):
            self.assertEqual(face, self.probe("fontface", face)["face"])


if __name__ == "__main__":
    unittest.main()

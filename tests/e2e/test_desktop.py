"""Scopella on a real Linux desktop: always on top under a window manager
(openbox), see-through under a compositing manager (xcompmgr), and the lean
Wine prefix it runs in (no device drivers, Wine's own fonts)."""
import os
import subprocess
import unittest

from harness import PREFIX, ScopellaTestCase, wait_until, xdotool
from xdesktop import prop, stacking, start_openbox, start_solid_window, start_xcompmgr

SOLID = (20, 230, 40)  # another program's window


def wine_reg(*args):
    subprocess.run(["wine", "reg"] + list(args) + ["/f"], capture_output=True, timeout=30, check=True)


def rect_bytes(*values):
    return b"".join(v.to_bytes(4, "little", signed=True) for v in values)


class AlwaysOnTop(ScopellaTestCase):
    def setUp(self):
        super().setUp()
        # The test prefix has Wine draw frames itself; here openbox manages them.
        wine_reg("add", r"HKCU\Software\Wine\AppDefaults\scopella.exe\X11 Driver", "/v", "Managed", "/d", "Y")
        self.addCleanup(wine_reg, "delete", r"HKCU\Software\Wine\AppDefaults\scopella.exe")
        self.addCleanup(start_openbox(self.workdir).stop)

    def expect_above(self, above):
        """With _NET_WM_STATE_ABOVE, and only then, Scopella stays above the
        other window when that is raised."""
        wait_until(lambda: ("_NET_WM_STATE_ABOVE" in prop(self.client, "_NET_WM_STATE")) == above, 10,
                   what="_NET_WM_STATE_ABOVE %s" % ("set" if above else "off"))
        xdotool("windowraise", self.other)
        wait_until(lambda: (self.screen.pixel(*self.inside_both) == SOLID) != above, 10,
                   what="Scopella %s the raised window" % ("above" if above else "below"))
        order = stacking()
        self.assertEqual(above, order.index(self.other) < order.index(self.client))

    def ctrl_t(self):
        # As a person does it: activate the window (the manager raises it), press the keys.
        xdotool("windowactivate", "--sync", self.client)
        wait_until(lambda: self.app.info()["foreground"], 5, what="Scopella in the foreground")
        xdotool("key", "--clearmodifiers", "ctrl+t")

    def test_ctrl_t_keeps_the_window_above_a_raised_window_until_ctrl_t_again(self):
        self.write_settings(WindowPos=rect_bytes(100, 100, 550, 350), Update=1)
        self.app = self.launch()
        self.client = self.app.x_window()
        geometry = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", self.client).split())
        x, y = int(geometry["X"]) + int(geometry["WIDTH"]) // 2, int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2
        solid = start_solid_window(self.workdir, (x, y, 400, 300), SOLID)
        self.addCleanup(solid.stop)
        self.other, self.inside_both = solid.ready, (x + 20, y + 20)
        wait_until(lambda: self.screen.pixel(x + 380, y + 280) == SOLID, 10, what="the other window shown")

        self.expect_above(False)
        self.ctrl_t()
        wait_until(lambda: self.app.info()["topmost"], 10, what="WS_EX_TOPMOST")
        self.expect_above(True)
        self.ctrl_t()
        self.expect_above(False)
        self.assertEqual(0, self.app.close())


class SeeThrough(ScopellaTestCase):
    def chrome(self):
        """The caption and tool band rows: they stay the same while the mouse
        rests outside the window (the view would show itself)."""
        left, top, right, _ = self.app.info()["rect"]
        return self.screen.grab(left + 4, top + 4, right - left - 8, 40)

    def expect_blend(self, opaque, desktop, alpha):
        def blended():
            worst = max(abs(round(alpha * w + (1 - alpha) * b) - n)
                        for row_w, row_n in zip(opaque, self.chrome()) for pw, pn in zip(row_w, row_n)
                        for w, b, n in zip(pw, desktop, pn))
            return worst <= 3
        wait_until(blended, 10, what="the window blended at alpha %.2f" % alpha)

    def test_semi_transparent_pixels_blend_with_the_desktop_at_the_set_alpha(self):
        self.addCleanup(start_xcompmgr(self.screen, self.workdir).stop)
        self.probe("setcursor", 1200, 1000)
        self.write_settings(WindowPos=rect_bytes(100, 100, 550, 350), Update=1, Transparent=b"\0",
                            nTransparency=178)
        self.app = self.launch()
        self.app.focus()  # an active caption from here on
        desktop = self.screen.pixel(1000, 900)  # what the compositor draws beneath every window
        opaque = wait_until(lambda: (lambda a, b: a if a == b else None)(self.chrome(), self.chrome()), 10,
                            what="the window drawn")
        self.app.key("ctrl+shift+t")
        self.expect_blend(opaque, desktop, 178 / 255)
        self.app.key("ctrl+shift+t")
        wait_until(lambda: self.chrome() == opaque, 10, what="the window opaque again")
        self.assertEqual(0, self.app.close())

        # A second alpha, from the settings at start.
        self.write_settings(Transparent=b"\1", nTransparency=90)
        self.app = self.launch()
        self.app.focus()
        self.expect_blend(opaque, desktop, 90 / 255)
        self.assertEqual(0, self.app.close())


def modules_of_prefix(prefix):
    """The file names mapped by every process running in the prefix."""
    found = set()
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/environ" % pid, "rb") as f:
                if ("WINEPREFIX=" + prefix).encode() in f.read().split(b"\0"):
                    with open("/proc/%s/maps" % pid) as maps:
                        found |= {os.path.basename(line.split()[-1]).lower() for line in maps if "/" in line}
        except OSError:
            pass
    return found


class LeanPrefix(ScopellaTestCase):
    def test_no_device_drivers_run_and_wine_fonts_are_found(self):
        self.launch()
        loaded = modules_of_prefix(PREFIX)
        self.assertIn("scopella.exe", loaded)
        self.assertIn("winedevice.exe", loaded)  # Wine's other drivers do run
        self.assertFalse({"winebus.sys", "wineusb.sys"} & loaded)
        for face in ("Marlett", "Tahoma", "Symbol"):
            self.assertEqual(face, self.probe("fontface", face)["face"])


if __name__ == "__main__":
    unittest.main()

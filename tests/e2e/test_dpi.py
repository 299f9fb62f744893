"""The window on high-DPI screens: at 120 and 144 DPI the default window, the
toolbar images, the trackbars, the tool band and the status panes are larger,
and the view is still pixel-exact in physical pixels; a move to a monitor of
another DPI (WM_DPICHANGED, sent from outside: Wine never changes the DPI
while a program runs) builds the chrome again for that DPI.

The DPI is Wine's LogPixels, so these tests run in a Wine prefix of their own
(beside the test prefix), whose server is restarted for each DPI; the other
tests never see it."""
import os
import struct
import subprocess
import sys

_main_prefix = os.environ.get("SCOPELLA_TEST_PREFIX") or os.environ.get("WINEPREFIX", "")
if _main_prefix:
    os.environ["WINEPREFIX"] = _main_prefix.rstrip("/") + "-dpi"

from chrome_support import ALWAYS_ON_TOP, Chrome, move_mouse  # noqa: E402
from harness import PREFIX, Probe, check_environment, wait_until  # noqa: E402
from viewshot import OFF, ROOT, ViewGeometry, ViewTestCase, rect_bytes  # noqa: E402

TB_GETBUTTONSIZE = 0x043A
RED = (255, 0, 0)


def wine_server(*args):
    subprocess.run(["wineserver"] + list(args), timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def set_log_pixels(dpi):
    """Wine's screen and font DPI of the prefix; a new server reads it."""
    wine_server("-k")
    wine_server("-w")
    for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
        subprocess.run(["wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"],
                       timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    wine_server("-k")
    wine_server("-w")


def pin_size(width):
    """Width and height of the red head of the push pin (toolbar image 0) in
    the toolbar bitmap drawn with images `width` pixels wide."""
    name = {16: "toolbar.bmp", 24: "toolbar24.bmp", 32: "toolbar32.bmp"}[width]
    with open(os.path.join(ROOT, "resources", name), "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    total, height = struct.unpack_from("<ii", data, 18)
    stride = ((total * 4 + 31) // 32) * 4
    red = [(x, y) for y in range(height) for x in range(width)
           if (data[offset + (height - 1 - y) * stride + x // 2] >> (0 if x % 2 else 4)) & 15 == 9]
    return bbox_size(red)


def bbox_size(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return (max(xs) - min(xs) + 1, max(ys) - min(ys) + 1) if points else None


def scaled(size, dpi):
    return (size * dpi + 48) // 96


class HighDpi(ViewTestCase):
    @classmethod
    def setUpClass(cls):
        check_environment()
        subprocess.run([os.path.join(ROOT, "scripts", "prepare-prefix.sh"), PREFIX, "test"], timeout=300,
                       stdout=subprocess.DEVNULL, check=True)
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        wine_server("-k")
        wine_server("-w")

    def at_dpi(self, dpi):
        """Restarts the prefix at this DPI with a new probe."""
        old = self.probe
        old.close()
        old.process.stdin.close()
        old.process.stdout.close()
        set_log_pixels(dpi)
        type(self).probe = self.probe = Probe()
        self.end_strays()
        self.probe.delete_key()

    def text_width(self, text, dpi):
        return self.probe("textwidth", dpi, text.replace(" ", "_"))["width"]

    def assert_chrome(self, app, chrome, dpi, images):
        """The chrome of a window at this DPI, with toolbar images this wide."""
        # The images on the toolbar are the set for the DPI: the push pin's red
        # head on screen has the size it has in that bitmap.
        button = chrome.button(ALWAYS_ON_TOP)["rect"]
        left, top = chrome.client(chrome.toolbar)[:2]
        shot = self.screen.grab(left + button[0], top + button[1], button[2] - button[0], button[3] - button[1])
        self.assertEqual(pin_size(images), bbox_size([(x, y) for y, row in enumerate(shot)
                                                       for x, c in enumerate(row) if c == RED]))
        size = self.probe.send(chrome.toolbar, TB_GETBUTTONSIZE)
        self.assertGreater(size & 0xFFFF, images)
        self.assertGreater(size >> 16, images * 15 // 16)
        # Tool band as tall as the buttons; the trackbars beside the buttons
        # with their thumbs inside.
        band = chrome.rect(chrome.rebar)
        self.assertGreaterEqual(band[3] - band[1], size >> 16)
        for hwnd in (chrome.zoom, chrome.rate):
            track = chrome.client(hwnd)
            info = chrome.trackbar(hwnd)
            thumb, channel = info["thumb"], info["channel"]
            self.assertTrue(0 <= thumb[0] and thumb[2] <= track[2] - track[0], (thumb, track))
            self.assertTrue(0 <= thumb[1] and thumb[3] <= track[3] - track[1], (thumb, track))
            self.assertTrue(thumb[1] <= channel[1] and channel[3] <= thumb[3], (thumb, channel))
        self.assertEqual(chrome.rect(chrome.zoom)[3] - chrome.rect(chrome.zoom)[1], button[3] - button[1])
        # Every pane is wide enough for its text; the coordinates end left of
        # the size grip. (The link pane runs past it in the default window at
        # every DPI, 96 too.)
        edges = chrome.edges()
        widths = [edges[0]] + [edges[i] - edges[i - 1] for i in range(1, 5)]
        texts = {0: "Press F1 for help", 1: "Colour (rgb): 000,000,000 ", 3: " 99999,99999 ",
                 4: "www.brindle.example"}
        for pane, text in texts.items():
            self.assertGreater(widths[pane], self.text_width(text, dpi), (pane, widths))
        self.assertEqual(scaled(31, dpi), widths[2])
        status = chrome.client(chrome.status)
        self.assertLessEqual(edges[3], (status[2] - status[0]) - (status[3] - status[1]))
        # The tips follow the new controls.
        tools = chrome.tools()
        self.assertEqual({1, 2, 3, 4}, {t["id"] for t in tools if t["hwnd"] == chrome.status})
        self.assertEqual(2, len([t for t in tools if t["id"] in (chrome.zoom, chrome.rate)]))
        self.assertEqual("Press F1 for help", chrome.pane(0)["text"])

    def scenario(self, dpi, images):
        self.at_dpi(dpi)
        point = (1100, 880)
        self.write_settings(ZoomFactor=3, ZoomPoint=rect_bytes(*point), MouseTracking=OFF, Update=1)
        app = self.launch()
        rect = app.info()["rect"]
        self.assertEqual((scaled(450, dpi), scaled(250, dpi)), (rect[2] - rect[0], rect[3] - rect[1]))
        chrome = Chrome(app)
        self.assert_chrome(app, chrome, dpi, images)
        view = ViewGeometry(self.probe, app.hwnd, self.screen, 3)
        self.assert_picture(view, point)
        return app, chrome, view, point

    def test_at_120_dpi_and_a_move_to_a_200_percent_monitor(self):
        app, chrome, view, point = self.scenario(120, 24)
        move_mouse(point[0], point[1] - 300)
        wait_until(lambda: chrome.pane(1)["text"].startswith("Colour"), 5, what="the colour read out")
        # The system suggests a rectangle twice the size at 192 DPI.
        suggested = [40, 60, 40 + 2 * scaled(450, 96), 60 + 2 * scaled(250, 96)]
        self.probe("dpichanged", app.hwnd, 192, *suggested)
        self.assertEqual(suggested, app.info()["rect"])
        app.wait_settled()
        chrome = Chrome(app)
        self.assert_chrome(app, chrome, 192, 32)
        wait_until(lambda: chrome.pane(1)["text"].startswith("Colour"), 5, what="the colour read out again")
        self.assert_picture(view, point)
        self.assertEqual(0, app.close())
        saved = self.probe.registry()["WindowPos"][1]
        self.assertEqual(suggested, list(struct.unpack("<4i", saved)))

    def test_at_144_dpi(self):
        app = self.scenario(144, 24)[0]
        self.assertEqual(0, app.close())


if __name__ == "__main__":
    import unittest
    unittest.main(argv=sys.argv)

"""The chrome at 120 and 144 DPI (Wine's LogPixels, in a prefix of its own so
no other test sees it), and rebuilt on WM_DPICHANGED (sent by the probe: Wine
never changes a running program's DPI); the view stays pixel-exact."""
import os
import struct
import subprocess

_prefix = os.environ.get("SCOPELLA_TEST_PREFIX") or os.environ.get("WINEPREFIX", "")
if _prefix:
    os.environ["WINEPREFIX"] = _prefix.rstrip("/") + "-dpi"

from chrome_support import ALWAYS_ON_TOP, Chrome, move_mouse  # noqa: E402
from harness import PREFIX, Probe, check_environment, wait_until  # noqa: E402
from viewshot import OFF, ROOT, ViewGeometry, ViewTestCase, rect_bytes  # noqa: E402


def run(*command, check=True):
    subprocess.run(command, timeout=300, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=check)


def end_server():
    run("sh", "-c", "wineserver -k; wineserver -w", check=False)


def box(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


def pin_in_bitmap(width):
    """Size of the push pin's red head (image 0) in the toolbar bitmap with images this wide."""
    with open(os.path.join(ROOT, "resources", "toolbar%d.bmp" % width), "rb") as f:
        data = f.read()
    offset, (total, height) = struct.unpack_from("<I", data, 10)[0], struct.unpack_from("<ii", data, 18)
    stride = (total * 4 + 31) // 32 * 4
    return box([(x, y) for y in range(height) for x in range(width)
                if data[offset + (height - 1 - y) * stride + x // 2] >> (0 if x % 2 else 4) & 15 == 9])


def scaled(size, dpi):
    return (size * dpi + 48) // 96


class HighDpi(ViewTestCase):
    @classmethod
    def setUpClass(cls):
        check_environment()
        run(os.path.join(ROOT, "scripts", "prepare-prefix.sh"), PREFIX, "test")
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        end_server()

    def restart_at(self, dpi):
        """The prefix's server reads LogPixels when it starts."""
        self.probe.close()
        for pipe in (self.probe.process.stdin, self.probe.process.stdout):
            pipe.close()
        for key in (r"HKCU\Control Panel\Desktop", r"HKCC\Software\Fonts"):
            run("wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        end_server()
        type(self).probe = self.probe = Probe()
        self.probe.delete_key()

    def assert_chrome(self, chrome, dpi, images, panes):
        # The toolbar shows the image set of the DPI: the pin's red head is the bitmap's.
        button = chrome.button(ALWAYS_ON_TOP)["rect"]
        left, top = chrome.client(chrome.toolbar)[:2]
        shot = self.screen.grab(left + button[0], top + button[1], button[2] - button[0], button[3] - button[1])
        self.assertEqual(pin_in_bitmap(images), box([(x, y) for y, row in enumerate(shot)
                                                     for x, c in enumerate(row) if c == (255, 0, 0)]))
        for hwnd in (chrome.zoom, chrome.rate):  # as high as the buttons, the thumbs inside
            track, thumb = chrome.client(hwnd), chrome.trackbar(hwnd)["thumb"]
            self.assertEqual(button[3] - button[1], track[3] - track[1])
            self.assertTrue(0 <= thumb[1] and thumb[3] <= track[3] - track[1], (thumb, track))
        edges = chrome.edges()
        self.assertEqual(scaled(31, dpi), edges[2] - edges[1])
        for pane in panes:  # a text cut by its pane runs up to the pane's edge
            pl, pt, pr, pb = chrome.pane_rect(pane)
            shot = self.screen.grab(pl + 1, pt + 2, pr - pl - 2, pb - pt - 4)
            ink = sorted(x for row in shot for x, c in enumerate(row) if c[0] < 100 and c[1] < 100)  # black, blue
            self.assertTrue(ink and 0 < min(ink) and max(ink) < len(shot[0]) - 2, (pane, len(shot[0]), ink[-3:]))
        tools = chrome.tools()  # the tips follow the controls
        self.assertEqual({1, 2, 3, 4}, {t["id"] for t in tools if t["hwnd"] == chrome.status})
        self.assertEqual(2, len([t for t in tools if t["id"] in (chrome.zoom, chrome.rate)]))

    def scenario(self, dpi):
        self.restart_at(dpi)
        point = (1100, 880)
        self.write_settings(ZoomFactor=3, ZoomPoint=rect_bytes(*point), MouseTracking=OFF, Update=1)
        app = self.launch()
        rect = app.info()["rect"]
        self.assertEqual([scaled(450, dpi), scaled(250, dpi)], [rect[2] - rect[0], rect[3] - rect[1]])
        chrome = Chrome(app)
        move_mouse(point[0], point[1] - 300)
        wait_until(lambda: chrome.pane(1)["text"].startswith("Colour"), 5, what="the colour read out")
        self.assert_chrome(chrome, dpi, 24, (0, 1, 3))
        view = ViewGeometry(self.probe, app.hwnd, self.screen, 3)
        self.assert_picture(view, point)
        return app, view, point

    def test_at_120_dpi_then_moved_to_a_monitor_of_192(self):
        app, view, point = self.scenario(120)
        suggested = [40, 60, 940, 560]
        self.probe("dpichanged", app.hwnd, 192, *suggested)
        self.assertEqual(suggested, app.info()["rect"])
        app.wait_settled()
        chrome = Chrome(app)
        wait_until(lambda: chrome.pane(1)["text"].startswith("Colour"), 5, what="the colour read out again")
        self.assert_chrome(chrome, 192, 32, (0, 1, 3, 4))
        self.assert_picture(view, point)
        self.assertEqual(0, app.close())
        self.assertEqual(suggested, list(struct.unpack("<4i", self.probe.registry()["WindowPos"][1])))

    def test_at_144_dpi(self):
        self.assertEqual(0, self.scenario(144)[0].close())

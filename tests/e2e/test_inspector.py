"""The colour inspector of the real program: a known picture on the screen,
the mouse on known pixels, and what another program reads from the
inspector's controls (each value a control's window text), the clipboard
(through xclip) and the registry; a frozen view sampled; the history kept
across a restart, with the status bar hidden, topmost and semi-transparent."""
import unittest

import test_imaging
from chrome_support import FAR, click, move_mouse, rect_bytes
from dialog_support import close_box
from harness import ScopellaTestCase, dword, ints, wait_until, xdotool
from settings_rules import settings_faults
from viewshot import OFF, ON, ViewGeometry, ViewTestCase

ORANGE, GREEN = (255, 128, 0), (10, 200, 30)
BLACK, WHITE, GREY = (610, 210), (630, 210), (650, 210)  # inside 20 x 20 blocks
SQUARE = (1001, 301)  # centre of a 3 x 3 square of nine colours


def square_colour(i):
    return (3 * i * i, 255 - 7 * i, 255 * (i % 2))


def picture(x, y):
    if 200 <= y < 220 and 600 <= x < 660:
        return [(0, 0, 0), (255, 255, 255), (0x77, 0x77, 0x77)][(x - 600) // 20]
    if 1000 <= x <= 1002 and 300 <= y <= 302:
        return square_colour(x - 1000 + 3 * (y - 300))
    return ORANGE


def hex_of(rgb):
    return "#%02x%02x%02x" % rgb


INSPECTOR = "Scopella_Inspector"
HEX, CSS_RGB, DECIMAL, HSL, HSV, FRACTIONS = range(1110, 1116)
CURRENT, PINNED, CONTRAST, VERDICTS = 1101, 1102, 1103, range(1104, 1108)
SAMPLE, CLEAR, HISTORY = 1120, 1122, 1130


class Inspector(ViewTestCase):
    @classmethod
    def setUpClass(cls):
        ScopellaTestCase.setUpClass.__func__(cls)  # the root gets this picture, not the view tests' pattern
        cls.screen.paint_root(picture)

    def controls(self, inspector):
        return {c["id"]: c for c in self.probe.children(inspector)}

    def text(self, inspector, id_):
        return self.probe("gettext", self.controls(inspector)[id_]["hwnd"])["text"]

    def wait_text(self, inspector, id_, text):
        wait_until(lambda: self.text(inspector, id_) == text, 5,
                   what="control %d to read %r (reads %r)" % (id_, text, self.text(inspector, id_)))

    def centre(self, inspector, id_):
        r = self.controls(inspector)[id_]["rect"]
        return (r[0] + r[2]) // 2, (r[1] + r[3]) // 2

    def copied(self, text):
        wait_until(lambda: test_imaging.clipboard("UTF8_STRING") == text.encode(), 5, what="%r copied" % text)
        self.assertIn(b"UTF8_STRING", test_imaging.clipboard("TARGETS"))

    def history(self, inspector):
        return [self.text(inspector, HISTORY + i) for i in range(16) if self.controls(inspector)[HISTORY + i]["visible"]]

    def test_notations_sample_contrast_copies_and_history_across_a_restart(self):
        move_mouse(*FAR)
        self.write_settings(WindowPos=rect_bytes(50, 500, 500, 750), ZoomPoint=rect_bytes(*WHITE), ZoomFactor=4,
                            Update=1, MouseTracking=OFF)
        app = self.launch()
        app.key("ctrl+i")
        inspector = wait_until(lambda: [h for h in self.probe.windows(INSPECTOR) if self.probe.info(h)["visible"]], 5,
                               what="the inspector shown")[0]
        info, main = self.probe.info(inspector), app.info()
        # Beside the main window, owned by it, and the keys stay with the main window.
        self.assertEqual(app.hwnd, info["owner"])
        self.assertTrue(0 <= info["rect"][0] - main["rect"][2] <= 10 and info["rect"][1] == main["rect"][1], info)
        self.assertTrue(app.info()["foreground"])

        # Every notation of the colour under the mouse, as the issue gives them.
        for id_, text in ((HEX, "#ff8000"), (CSS_RGB, "rgb(255, 128, 0)"), (DECIMAL, "255,128,0"),
                          (HSL, "hsl(30, 100%, 50%)"), (HSV, "hsv(30, 100%, 100%)"),
                          (FRACTIONS, "1.000, 0.502, 0.000")):
            self.wait_text(inspector, id_, text)

        # Ctrl+P in the main window pins the grey; white against it is 4.48:1.
        move_mouse(*GREY)
        self.wait_text(inspector, HEX, "#777777")
        app.key("ctrl+p")
        self.wait_text(inspector, PINNED, "#777777")
        move_mouse(*WHITE)
        self.wait_text(inspector, CONTRAST, "4.48:1")
        grey_verdicts = [self.text(inspector, v) for v in VERDICTS]

        # A 3 x 3 sample is the rounded mean of the square; the status bar keeps its one pixel.
        click(*self.centre(inspector, SAMPLE))
        xdotool("key", "Down", "Return")
        self.wait_text(inspector, SAMPLE, "3x3")
        move_mouse(*SQUARE)
        mean = tuple((2 * sum(square_colour(i)[c] for i in range(9)) + 9) // 18 for c in range(3))
        self.wait_text(inspector, HEX, hex_of(mean))
        self.assertIn("%03d,%03d,%03d" % square_colour(4), app.status_text(1)["text"])

        # Over the inspector the colour stays: a click copies a line (both
        # text formats), Ctrl+P there pins white, Tab and Enter copy the next line.
        move_mouse(*WHITE)
        self.wait_text(inspector, HEX, "#ffffff")
        click(*self.centre(inspector, CSS_RGB))
        self.copied("rgb(255, 255, 255)")
        wait_until(lambda: self.probe.info(inspector)["foreground"], 5, what="the inspector active")
        xdotool("key", "--clearmodifiers", "ctrl+p")
        self.wait_text(inspector, PINNED, "#ffffff")
        self.assertEqual(["#ffffff", "#777777"], self.history(inspector))
        move_mouse(*BLACK)
        self.wait_text(inspector, CONTRAST, "21.00:1")
        passes = [self.text(inspector, v) for v in VERDICTS]
        self.assertEqual(1, len(set(passes)))
        self.assertEqual([p == passes[0] for p in grey_verdicts], [False, True, False, False])
        xdotool("key", "Tab", "Return")
        self.copied("0,0,0")

        # Update rate None: the view stays as it was, and over it the inspector
        # reads the frozen pixels; elsewhere the screen's new ones.
        self.screen.fill_root(GREEN)
        view = ViewGeometry(self.probe, app.hwnd, self.screen, 4)
        move_mouse(view.origin[0] + 4 * view.half_cols + 1, view.origin[1] + 4 * view.half_rows + 1)
        self.wait_text(inspector, HEX, "#ffffff")
        move_mouse(*FAR)
        self.wait_text(inspector, HEX, hex_of(GREEN))
        rect = self.probe.info(inspector)["rect"]
        # The inspector is the active window (Alt+F4 there closes it alone): the close box.
        self.assertEqual(0, close_box(app))
        saved = self.probe.registry()
        self.assertEqual([], settings_faults(saved))
        self.assertEqual((b"\x01", 3, 2), (saved["InspectorShown"][1], dword(saved["InspectorSampleSize"][1]),
                                           dword(saved["InspectorNotation"][1])))

        # Started again with the status bar hidden, topmost and see-through:
        # the inspector is back where it was, opaque, above the main window,
        # read out by the tick, with its history.
        self.write_settings(DisplayStatusbar=OFF, AlwaysOnTop=rect_bytes(1), Transparent=ON)
        app = self.launch()
        inspector = wait_until(lambda: [h for h in self.probe.windows(INSPECTOR) if self.probe.info(h)["visible"]], 5,
                               what="the inspector shown at the start")[0]
        info = self.probe.info(inspector)
        self.assertEqual((rect, True, False), (info["rect"], info["topmost"], info["layered"]))
        self.assertTrue(app.info()["layered"])
        self.assertEqual(["#ffffff", "#777777"], self.history(inspector))
        move_mouse(FAR[0] + 5, FAR[1])
        self.wait_text(inspector, CURRENT, hex_of(GREEN))
        click(*self.centre(inspector, HISTORY + 1))
        self.copied("119,119,119")  # in the notation last copied
        click(*self.centre(inspector, CLEAR))
        wait_until(lambda: not self.history(inspector), 5, what="the history cleared")
        move_mouse(*FAR)
        self.assertEqual(0, close_box(app))
        self.assertEqual([-1] * 16, ints(self.probe.registry()["InspectorHistory"][1]))


if __name__ == "__main__":
    unittest.main()

"""The Options dialog of the real program, driven with real keys: its
controls and defaults, rates shown and stored through their rounding, the
validation of each field, Cancel, and OK writing everything at once."""
from chrome_support import ChromeTestCase, click
from dialog_support import Dialog, close_box, dialog_units, key, message_box, system_command, type_text
from harness import dword, wait_until

SLOW, MEDIUM, FAST, SIZE = 1005, 1007, 1009, 1018
RGB, HEX, SHOW_CURSOR, SINGLE, RELATIVE, TRANSPARENT, OS_CURSOR = 1003, 1004, 1011, 1013, 1021, 1022, 1023
COLOUR_HOTKEY, BITMAP_HOTKEY = 1025, 1024
MNEMONIC = {SLOW: "alt+s", MEDIUM: "alt+m", FAST: "alt+f", SIZE: "alt+z"}
INVALID_UPDATE = "Invalid update specified.\nA valid update should be between 1 and 50."
INVALID_SIZE = "Invalid grid size specified.\nA valid grid size should be between 1 and 128."
WS_TABSTOP, WS_GROUP = 0x00010000, 0x00020000
# The controls in their tab order, and some rectangles in dialog units.
ORDER = [-1, RGB, HEX, -1, -1, SLOW, 1006, -1, MEDIUM, 1008, -1, FAST, 1010, -1, -1, SIZE, 1019, 1020, RELATIVE,
         SHOW_CURSOR, SINGLE, TRANSPARENT, OS_CURSOR, -1, -1, COLOUR_HOTKEY, -1, BITMAP_HOTKEY, 1, 2]
RECTS = {"Static": (7, 139, 182, 52), RELATIVE: (106, 57, 132, 18), COLOUR_HOTKEY: (102, 150, 80, 14),
         1: (242, 11, 50, 14), SIZE: (135, 23, 42, 14)}


class Options(ChromeTestCase):
    def open(self, app, again=False):
        """Opens the dialog with Ctrl+O, or again from the system menu."""
        if again:
            system_command(app, 0x20)
        else:
            app.key("ctrl+o")
        return Dialog(self.probe, "Options", app.hwnd)

    def fill(self, field, text):
        key(MNEMONIC[field], "End", "shift+Home", "BackSpace")
        type_text(text)

    def pick_colour(self, dialog):
        """Picks the first basic colour in the colour picker; returns it as a COLORREF."""
        key("alt+l")
        picker = Dialog(self.probe, "Color", dialog.hwnd)
        cells = self.probe.info(picker.control(720))["rect"]  # 8 x 6 basic colours
        x, y = cells[0] + (cells[2] - cells[0]) // 16, cells[1] + (cells[3] - cells[1]) // 12
        rgb = bytes.fromhex(self.probe("pixels", x, y, 1, 1)["rgb"])
        click(x, y)
        key("Return")
        picker.wait_closed(dialog)
        return rgb[0] | rgb[1] << 8 | rgb[2] << 16

    def rates(self, dialog):
        return [dialog.text(i) for i in (SLOW, MEDIUM, FAST, SIZE)]

    def test_controls_defaults_and_rates_stored_through_their_rounding(self):
        app, _ = self.launch_at(100, 100, 550, 350)
        dialog = self.open(app)
        self.assertEqual(["1", "10", "20", "1"], self.rates(dialog))
        self.assertEqual([True, False, True, False, False, False, True],
                         [dialog.checked(i) for i in (RGB, HEX, SHOW_CURSOR, SINGLE, RELATIVE, TRANSPARENT, OS_CURSOR)])
        self.assertEqual([0x0343, 0x0342], [dialog.hotkey(COLOUR_HOTKEY), dialog.hotkey(BITMAP_HOTKEY)])

        # The controls in tab order; the tab stops; rectangles for the dialog font.
        pixels = dialog_units(self.probe)
        origin = dialog.info()["client"][:2]
        controls = dialog.controls()
        self.assertEqual(ORDER, [c["id"] for c in controls])
        self.assertTrue(controls[1]["style"] & WS_GROUP)
        # (Of the radio buttons, the checked one is the tab stop.)
        self.assertEqual([i for i in ORDER if i not in (-1, HEX, 1006, 1008, 1010, 1019)],
                         [c["id"] for c in controls if c["style"] & WS_TABSTOP])
        for c in controls:
            units = RECTS.get(c["text"] if c["id"] == -1 else c["id"])
            if units:
                rect = [v - origin[k % 2] for k, v in enumerate(c["rect"])]
                expected = pixels(*units)
                if c["id"] == SIZE:  # its up-down takes the right end
                    expected[2], rect[2] = 0, 0
                self.assertEqual(expected, rect, c)

        # Rates whose period does not convert back exactly, and the largest size.
        for field, value in ((SLOW, "36"), (MEDIUM, "48"), (FAST, "49"), (SIZE, "128")):
            self.fill(field, value)
        colour = self.pick_colour(dialog)
        self.assertNotEqual(0, colour)
        key("alt+x", "alt+t", "Return")
        dialog.wait_closed(app)
        # Saved at once, while the program runs (all 32 values, the last one
        # last), and applied.
        stored = wait_until(lambda: (lambda r: "bUseOSCursor" in r and r)(self.probe.registry() or {}), 10,
                            what="the settings saved")
        self.assertEqual([27, 20, 20, 128], [dword(stored[n][1]) for n in ("Update1", "Update2", "Update3", "GridSize")])
        self.assertEqual([b"\0", b"\1"], [stored[n][1] for n in ("DisplayRGBColourPanel", "Transparent")])
        self.assertEqual(colour, dword(stored["GridColor"][1]))
        wait_until(lambda: app.info()["layered"], 5, what="the window made transparent")
        self.assertEqual(178, app.info()["alpha"])
        dialog = self.open(app, again=True)
        self.assertEqual(["37", "50", "50", "128"], self.rates(dialog))
        self.assertEqual((False, True, True), (dialog.checked(RGB), dialog.checked(HEX), dialog.checked(TRANSPARENT)))

        # Cancel stores nothing, whatever was changed.
        before = self.probe.registry()
        self.fill(SLOW, "5")
        key("alt+c", "alt+r", "Escape")
        dialog.wait_closed(app)
        self.assertEqual(before, self.probe.registry())
        self.assertEqual(0, close_box(app))

    def test_each_bad_field_is_named_and_nothing_is_stored(self):
        app, _ = self.launch_at(100, 100, 550, 350)
        dialog = self.open(app)
        self.pick_colour(dialog)
        cases = [(SLOW, "0", INVALID_UPDATE), (MEDIUM, "51", INVALID_UPDATE), (FAST, "-5", INVALID_UPDATE),
                 (SLOW, "", INVALID_UPDATE), (MEDIUM, "ten", INVALID_UPDATE), (SIZE, "0", INVALID_SIZE),
                 (SIZE, "129", INVALID_SIZE)]
        good = {SLOW: "1", MEDIUM: "10", FAST: "20", SIZE: "1"}
        for field, value, message in cases:
            self.fill(field, value)
            key("alt+t", "Return")
            box, texts = message_box(self.probe, dialog.hwnd)
            self.assertEqual([message], texts, (field, value))
            key("Return")
            box.wait_closed(dialog)
            self.assertTrue(dialog.is_open())
            self.assertEqual(dialog.control(field), dialog.focus(), (field, value))
            self.fill(field, good[field])
        # Two bad fields: the first in the order Slow, Medium, Fast, Size is named.
        self.fill(SIZE, "0")
        self.fill(FAST, "0")
        key("Return")
        box, texts = message_box(self.probe, dialog.hwnd)
        self.assertEqual([INVALID_UPDATE], texts)
        key("Return")
        box.wait_closed(dialog)
        self.assertEqual(dialog.control(FAST), dialog.focus())
        key("Escape")
        dialog.wait_closed(app)
        # The failed OKs stored nothing: neither the colour picked nor the
        # transparency switched each time; the exit saves the defaults.
        self.assertFalse(app.info()["layered"])
        self.assertEqual(0, close_box(app))
        stored = self.probe.registry()
        self.assertEqual([1000, 100, 50, 1, 0], [dword(stored[n][1]) for n in (
            "Update1", "Update2", "Update3", "GridSize", "GridColor")])
        self.assertEqual(b"\0", stored["Transparent"][1])

    def test_a_cleared_hotkey_stays_cleared(self):
        self.write_settings(nHotKeyColourVK=0, nHotKeyColourModifiers=0)
        app, _ = self.launch_at(100, 100, 550, 350)
        dialog = self.open(app)
        self.assertEqual([0, 0x0342], [dialog.hotkey(COLOUR_HOTKEY), dialog.hotkey(BITMAP_HOTKEY)])
        key("Return")
        dialog.wait_closed(app)
        self.assertEqual(0, close_box(app))
        stored = self.probe.registry()
        self.assertEqual([0, 0, 0x42, 3], [dword(stored[n][1]) for n in (
            "nHotKeyColourVK", "nHotKeyColourModifiers", "nHotKeyBitmapVK", "nHotKeyBitmapModifiers")])


if __name__ == "__main__":
    import unittest
    unittest.main()

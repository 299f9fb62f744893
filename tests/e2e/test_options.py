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

# The template in its tab order: id, class, text, rectangle in dialog units.
LAYOUT = [
    (-1, "Button", "Colour value display", 7, 7, 91, 44), (RGB, "Button", "&RGB", 15, 21, 31, 10),
    (HEX, "Button", "He&xadecimal", 15, 34, 57, 10), (-1, "Button", "Updates per second", 7, 58, 91, 72),
    (-1, "Static", "&Slow:", 16, 73, 18, 8), (SLOW, "Edit", None, 45, 70, 42, 14),
    (1006, "msctls_updown32", "", 82, 70, 9, 14), (-1, "Static", "&Medium:", 16, 90, 28, 8),
    (MEDIUM, "Edit", None, 45, 88, 42, 14), (1008, "msctls_updown32", "", 83, 88, 9, 14),
    (-1, "Static", "&Fast:", 16, 109, 16, 8), (FAST, "Edit", None, 45, 106, 42, 14),
    (1010, "msctls_updown32", "", 83, 104, 9, 14), (-1, "Button", "Grid", 105, 7, 132, 45),
    (-1, "Static", "Si&ze:", 113, 26, 16, 8), (SIZE, "Edit", None, 135, 23, 42, 14),
    (1019, "msctls_updown32", "", 175, 21, 9, 14), (1020, "Button", "Co&lour...", 189, 22, 42, 14),
    (RELATIVE, "Button", "Show coordinates relative to the window beneath the cursor", 106, 57, 132, 18),
    (SHOW_CURSOR, "Button", "Show mouse &cursor when folllowing", 106, 77, 128, 10),
    (SINGLE, "Button", "&Allow only one instance of Scopella", 106, 92, 122, 10),
    (TRANSPARENT, "Button", "Use &transparency", 106, 107, 71, 10),
    (OS_CURSOR, "Button", "Use OS mouse cursor", 106, 120, 85, 10), (-1, "Button", "Static", 7, 139, 182, 52),
    (-1, "Static", "Copy colour to clipboard:", 18, 153, 79, 8),
    (COLOUR_HOTKEY, "msctls_hotkey32", None, 102, 150, 80, 14),
    (-1, "Static", "Copy bitmap to clipboard:", 17, 173, 80, 8),
    (BITMAP_HOTKEY, "msctls_hotkey32", None, 102, 169, 80, 14),
    (1, "Button", "OK", 242, 11, 50, 14), (2, "Button", "Cancel", 242, 29, 50, 14),
]


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

        # Every control in tab order, in its place for the dialog font.
        pixels = dialog_units(self.probe)
        origin = dialog.info()["client"][:2]
        controls = dialog.controls()
        self.assertEqual([(i, c) for i, c, *_ in LAYOUT], [(c["id"], c["class"]) for c in controls])
        units = {id_: rect for id_, _, _, *rect in LAYOUT}
        for (id_, cls, text, *rect_units), c in zip(LAYOUT, controls):
            if text is not None:
                self.assertEqual(text, c["text"])
            # Of the radio buttons, the checked one is the tab stop.
            tab_stop = dialog.checked(id_) if id_ in (RGB, HEX) else id_ != -1 and cls != "msctls_updown32"
            self.assertEqual(tab_stop, bool(c["style"] & WS_TABSTOP), c)
            rect = [v - origin[k % 2] for k, v in enumerate(c["rect"])]
            expected = pixels(*rect_units)
            if cls == "msctls_updown32":
                # An up-down puts itself over the right end of its edit.
                edit = pixels(*units[id_ - 1])
                self.assertEqual(edit[1::2], rect[1::2], c)
                self.assertTrue(edit[2] - 2 <= rect[2] <= edit[2], c)
            elif cls == "Edit":
                self.assertEqual(expected[:2] + expected[3:], rect[:2] + rect[3:], c)
            else:
                self.assertEqual(expected, rect, c)
        self.assertTrue(controls[1]["style"] & WS_GROUP)

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
        app, _ = self.launch_at(100, 100, 550, 350)
        dialog = self.open(app)
        self.assertEqual(0, dialog.hotkey(COLOUR_HOTKEY))
        key("Escape")
        dialog.wait_closed(app)
        self.assertEqual(0, close_box(app))


if __name__ == "__main__":
    import unittest
    unittest.main()

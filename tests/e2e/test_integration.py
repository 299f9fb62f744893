"""Where the features meet: every command the program offers (its accelerator
table read from the executable, its toolbar buttons, the items of its four
pop-up menus and of its system menu) has an effect another program can see;
a new bitmap hotkey from the Options dialog works and frees the old one; the
wheel ends a right-drag; Always on Top works while the selection's pop-ups
are open."""
import os
import unittest

import test_imaging
from chrome_support import Chrome, centre
from dialog_support import Dialog, key
from harness import EXE, HELP_CONTEXT, WM_COMMAND, Timeout, WithHelpRecorder, dword, wait_until, windows_path, xdotool
from overlay_support import HIGHLIGHT, MARQUEE, TIP, WHATS_THIS, OverlayTestCase
from viewshot import OFF, ON

FVIRTKEY, FSHIFT, FCONTROL, FALT = 0x01, 0x04, 0x08, 0x10
TBSTYLE_SEP, IDCANCEL = 0x01, 2
KEY_NAMES = {0x6B: "KP_Add", 0x6D: "KP_Subtract"}
CLOSE = 105  # Alt+F4: the last row
BITMAP_HOTKEY = 1024  # the Options dialog's field


def key_name(entry):
    """An accelerator entry as xdotool names the keys."""
    vk = entry["key"]
    name = KEY_NAMES.get(vk) or ("F%d" % (vk - 0x6F) if 0x70 <= vk <= 0x87 else chr(vk).lower())
    mods = [m for bit, m in ((FCONTROL, "ctrl"), (FSHIFT, "shift"), (FALT, "alt")) if entry["flags"] & bit]
    return "+".join(mods + [name])


class EveryCommand(WithHelpRecorder, OverlayTestCase):
    # --- what a command does, seen from outside: (read, done(before), undo) ----
    def effects(self, app, view, chrome):
        info = lambda field: lambda: app.info()[field]
        visible = lambda hwnd: lambda: self.probe.info(hwnd)["visible"]
        zoom = lambda: chrome.trackbar(chrome.zoom)["pos"]
        rate = lambda: chrome.trackbar(chrome.rate)["pos"]

        def toggle(read, command):
            return read, lambda before: read() != before, lambda before: self.undo(app, command, read, before)

        def step(read, change):
            return read, lambda before: read() == change(before) != before, None

        def dialog(title):
            def done(_):
                box = [h for h in test_imaging.dialogs(self.probe, app.hwnd) if self.probe.info(h)["title"] == title]
                if box:
                    shown = Dialog.__new__(Dialog)  # found without waiting for the foreground
                    shown.probe, shown.hwnd = self.probe, box[0]
                    self.probe.post(shown.hwnd, WM_COMMAND, IDCANCEL)
                    shown.wait_closed(app)
                return box
            return lambda: None, done, None

        def clipboard():
            return (lambda: self.probe("clipset", "before"),
                    lambda _: test_imaging.clipboard("image/bmp")[:2] == b"BM", None)

        def help_request(command, data):
            count = lambda: len(self.recorder.requests())
            return count, lambda before: (command, data) in [r[:2] for r in self.recorder.requests()[before:]], None

        def pane(index, prefix, point):
            # The readouts take a new form with the next reading at a new point.
            def done(_):
                self.move(*point())
                return chrome.pane(index)["text"].startswith(prefix())
            return lambda: None, done, None

        def menu_opened():
            def done(_):
                self.open_menu()
                xdotool("key", "Escape")
                self.wait_menu_closed()
                return True
            return lambda: None, done, None

        def inspector_shown():
            return any(self.probe.info(h)["visible"] for h in self.probe.windows("Scopella_Inspector"))

        def colour_pinned(_):
            # The history's first place holds a colour (shown while the inspector is).
            places = [c for h in self.probe.windows("Scopella_Inspector") for c in self.probe.children(h)
                      if c["id"] == 1130]
            return places and places[0]["style"] & 0x10000000

        over_view = lambda: (view.origin[0] + 30, view.origin[1] + 20)
        client_coords = lambda: " %d, %d " % (30, view.top + 20)
        return {
            112: toggle(info("topmost"), 112), 4009: toggle(lambda: chrome.checked(4009), 4009),
            4027: toggle(lambda: chrome.checked(4027), 4027), 4015: toggle(visible(chrome.rebar), 4015),
            4016: toggle(visible(chrome.status), 4016), 4032: toggle(lambda: (info("layered")(), info("alpha")()), 4032),
            4011: step(zoom, lambda z: 2), 4012: step(zoom, lambda z: 4), 4024: (zoom, lambda before: zoom() != before, None),
            32775: step(zoom, lambda z: z + 1), 32776: step(zoom, lambda z: z - 1),
            32780: step(rate, lambda r: r + 1), 32781: step(rate, lambda r: r - 1),
            4017: dialog("Options"), 0x20: dialog("Options"), 32779: dialog("About"), 0x10: dialog("About"),
            32774: dialog("Save As"), 4020: dialog("Save As"),
            32771: clipboard(), 32772: clipboard(), 4018: clipboard(), 4021: clipboard(),
            4026: (lambda: None, lambda _: self.overlay(HIGHLIGHT), None),
            4022: menu_opened(),
            4023: (lambda: None, lambda _: not self.overlay(MARQUEE) and not self.overlay(TIP), None),
            WHATS_THIS: (lambda: len(self.recorder.requests()), lambda before: self.recorder.requests()[before:], None),
            4014: help_request(HELP_CONTEXT, 6),
            4028: pane(1, lambda: "Colour (rgb): ", over_view), 4029: pane(1, lambda: "Colour: #", over_view),
            4030: pane(3, lambda: " %d, %d " % over_view(), over_view), 4031: pane(3, client_coords, over_view),
            4033: toggle(inspector_shown, 4033),
            0x30: (inspector_shown, lambda before: inspector_shown() != before,
                   lambda before: self.undo(app, 4033, inspector_shown, before)),
            4034: (lambda: None, colour_pinned, None),
        }

    def undo(self, app, command, read, before):
        self.probe.send(app.hwnd, WM_COMMAND, command)
        wait_until(lambda: read() == before, 5, what="command %d undone" % command)

    def check(self, effects, command, trigger, how):
        read, done, undo = effects[command]
        before = read()
        trigger()
        wait_until(lambda: done(before), 10, what="the effect of %d (%s)" % (command, how))
        if undo:
            undo(before)
        self.done.add(command)

    # --- the rows ----------------------------------------------------------------
    def test_every_key_button_and_menu_item_has_an_effect(self):
        # The colour hotkey moved off Ctrl+Shift+C, which is also a key of the table.
        app, view = self.start(3, (300, 200), Update=2, DisplayRGBColourPanel=OFF, RelativeCoords=ON,
                               nHotKeyColourVK=0x4B, AlwaysOnTop=OFF, Transparent=OFF)
        chrome = Chrome(app)
        effects = self.effects(app, view, chrome)
        self.done = set()

        for button in chrome.buttons():
            if not button["style"] & TBSTYLE_SEP:
                self.check(effects, button["command"], lambda: self.click_at(*chrome.button_centre(button["command"])),
                           "button")

        entries = [dict(zip(("flags", "key", "command"), a))
                   for a in self.probe("accels", windows_path(os.path.abspath(EXE)), 134)["accels"]]
        self.assertEqual(18, len(entries))
        for entry in entries:
            self.assertEqual(FVIRTKEY, entry["flags"] & FVIRTKEY)
            if entry["command"] != CLOSE:
                self.check(effects, entry["command"], lambda: app.key(key_name(entry)), key_name(entry))

        # Each item of the view, colour and coordinates menus, opened by a right-click on its area.
        areas = [lambda: (view.origin[0] + 50, view.origin[1] + 40), lambda: centre(chrome.pane_rect(1)),
                 lambda: centre(chrome.pane_rect(3))]
        for area in areas:
            items = self.area_menu(area)
            xdotool("key", "Escape")
            self.wait_menu_closed()
            for item in [i for i in items if not i["separator"]]:
                def choose(item=item):
                    self.choose(self.area_menu(area), item["id"])
                self.check(effects, item["id"], choose, item["text"])

        # Each item of the selection menu, after a right-drag over the view.
        items = self.select(view)
        for item in [i for i in items if not i["separator"]]:
            def choose(item=item):
                self.choose(self.select(view) if item is not items[0] else items, item["id"])
            self.check(effects, item["id"], choose, item["text"])

        # The system menu's own three items.
        for command in (0x10, 0x20, 0x30):
            def choose():
                app.key("alt+space")
                self.choose(self.open_menu()[1], command)
            self.check(effects, command, choose, "system menu")
        # No key, button or item gives 4014: another program may send it.
        self.check(effects, 4014, lambda: self.probe.send(app.hwnd, WM_COMMAND, 4014), "WM_COMMAND")
        self.assertEqual(0, app.close())  # Alt+F4
        self.assertEqual({105, 112, 4009, 4011, 4012, 4013, 4014, 4015, 4016, 4017, 4018, 4020, 4021, 4022, 4023,
                          4024, 4026, 4027, 4028, 4029, 4030, 4031, 4032, 4033, 4034, 32771, 32772, 32774, 32775,
                          32776, 32779, 32780, 32781, 0x10, 0x20, 0x30}, self.done | {CLOSE})

    def area_menu(self, area):
        """Right-clicks the area; the items of the menu that opens. (Right
        after a menu Wine may drop a press: it is made again.)"""
        for attempt in range(3):
            self.click_at(*area(), button=3)
            try:
                return self.open_menu(timeout=2 if attempt < 2 else 5)[1]
            except Timeout:
                if attempt == 2:
                    raise

    def select(self, view):
        """Right-drags a selection over the view; the items of its menu."""
        start = (view.origin[0] + 10, view.origin[1] + 10)
        self.press(3, *start, until=lambda: self.probe.windows(MARQUEE), after_menu=True)
        self.drag_to(start[0] + 70, start[1] + 50, until=lambda: self.overlay(MARQUEE))
        xdotool("mouseup", 3)
        return self.open_menu()[1]


class AcrossFeatures(OverlayTestCase):
    def right_drag(self, view):
        start = (view.origin[0] + 10, view.origin[1] + 10)
        self.press(3, *start, until=lambda: self.probe.windows(MARQUEE))
        self.drag_to(start[0] + 70, start[1] + 50, until=lambda: self.overlay(MARQUEE) and self.overlay(TIP))

    def test_a_new_bitmap_hotkey_works_and_frees_the_old_one(self):
        app, view = self.start(3, (300, 200))
        app.key("ctrl+o")
        dialog = Dialog(self.probe, "Options", app.hwnd)
        self.click_at(*dialog.centre(BITMAP_HOTKEY))
        wait_until(lambda: dialog.focus() == dialog.control(BITMAP_HOTKEY), 5, what="the hotkey field focused")
        xdotool("key", "ctrl+alt+j")
        wait_until(lambda: dialog.hotkey(BITMAP_HOTKEY) == 0x064A, 5, what="Ctrl+Alt+J in the field")
        key("Return")
        dialog.wait_closed(app)
        # Saved once the dialog has ended.
        names = ("nHotKeyBitmapVK", "nHotKeyBitmapModifiers")
        stored = wait_until(lambda: (lambda r: all(n in r for n in names) and r)(self.probe.registry()), 5,
                            what="the hotkey saved")
        self.assertEqual([0x4A, 6], [dword(stored[n][1]) for n in names])
        # The old keys are free for another program at once (MOD_CONTROL | MOD_SHIFT, B).
        wait_until(lambda: self.probe("hotkey", 1, 6, 0x42)["ok"], 5, what="Ctrl+Shift+B free")
        self.addCleanup(self.probe, "unhotkey", 1)
        # The new keys copy the view. Wine delivers global hotkeys only while one
        # of its windows has the focus (Windows everywhere): app.key gives it.
        self.probe("clipset", "before")
        app.key("ctrl+alt+j")
        wait_until(lambda: test_imaging.clipboard("image/bmp")[:2] == b"BM", 20, what="the view on the clipboard")
        self.assertEqual(0, app.close())

    def test_the_wheel_during_a_right_drag_ends_it_and_then_zooms(self):
        app, view = self.start(3, (300, 200))
        chrome = Chrome(app)
        self.right_drag(view)
        xdotool("keydown", "ctrl", "click", 4, "keyup", "ctrl")
        self.wait_no_overlay(MARQUEE)
        self.wait_no_overlay(TIP)
        wait_until(lambda: chrome.trackbar(chrome.zoom)["pos"] == 4, 5, what="zoom 4")
        # The release opens no selection menu: the next menu is the view menu of Shift+F10.
        xdotool("mouseup", 3)
        app.key("shift+F10")
        self.assertIn(4011, [i["id"] for i in self.open_menu()[1]])
        xdotool("key", "Escape")
        self.wait_menu_closed()
        self.assertEqual(0, app.close())

    def test_always_on_top_toggles_while_the_selection_pop_ups_are_open(self):
        app, view = self.start(3, (300, 200), AlwaysOnTop=OFF)
        self.right_drag(view)
        # Keys reach the window during the drag (plain xdotool: --clearmodifiers
        # would let the button go).
        for topmost in (True, False, True):
            xdotool("key", "ctrl+t")
            wait_until(lambda: app.info()["topmost"] == topmost, 5, what="topmost %s" % topmost)
            for cls in (MARQUEE, TIP):
                pop_up = self.overlay(cls)
                self.assertEqual((app.hwnd, topmost), (pop_up["owner"], pop_up["topmost"]), cls)
        xdotool("mouseup", 3)
        self.choose(self.open_menu()[1], 4023)
        self.wait_no_overlay(MARQUEE)
        self.assertTrue(app.info()["topmost"])
        self.assertEqual(0, app.close())
        self.assertEqual(1, self.probe.registry()["AlwaysOnTop"][1][0])


if __name__ == "__main__":
    unittest.main()

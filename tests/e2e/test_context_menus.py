"""The context menus of the real program, opened with real right-clicks on
each area of the window and read from outside with their items and check
marks; "What's This?" reaching the help viewer (the recorder stand-in) with
the area's help id; the view frozen while a selection or its menu exists; and
the right-drags that end without a selection."""
import unittest

from chrome_support import Chrome, centre
from harness import WithHelpRecorder, wait_until, xdotool
from overlay_support import (CANCEL, HELP_CONTEXTPOPUP, HELP_WM_HELP, MARQUEE, TIP, WHATS_THIS, ZOOM_TO,
                             OverlayTestCase)
from viewshot import ON, OFF
from xscreen import pattern_colour

VIEW_MENU = [(112, "&Always on Top\tCtrl+T"), (4009, "&Follow Mouse\tCtrl+M"), (4032, "Transparent\tCtrl+Shift+T"),
             None, (4026, "H&ighlight\tCtrl+H"), None, (4011, "&2x Zoom"), (4012, "&4x Zoom"), None,
             (4015, "&Toolbar"), (4016, "&Status Bar"), None, (4017, "&Options...\tCtrl+O"), None,
             (WHATS_THIS, "&What's This?")]


def checked(items):
    return [i["id"] for i in items if i["checked"]]


class AreaMenus(WithHelpRecorder, OverlayTestCase):
    def whats_this(self, items, help_id):
        """Chooses "What's This?" and waits for the help viewer to be asked
        for the area's pop-up topic."""
        before = len(self.recorder.requests())
        self.choose(items, WHATS_THIS)
        request = wait_until(lambda: self.recorder.requests()[before:], 5, what="a help request")
        # Wine's WinHelpA refuses HELP_WM_HELP (todo_wine: on Windows the
        # viewer gets HELP_WM_HELP and looks the id up in the pair list); the
        # program then asks for the same topic as a pop-up by its id.
        self.assertIn(request[0][:2], [(HELP_CONTEXTPOPUP, help_id), (HELP_WM_HELP, help_id)])

    def test_each_area_opens_its_menu_and_whats_this_names_the_area(self):
        app, view = self.start(4, (300, 200), Transparent=OFF, RelativeCoords=OFF)
        chrome = Chrome(app)

        # The view: the view menu with the settings' check marks, and nothing
        # of a selection left by the plain right-click.
        self.click_at(view.origin[0] + 50, view.origin[1] + 40, button=3)
        menu, items = self.open_menu()
        self.assertEqual(VIEW_MENU, [s and s[:2] for s in self.summary(items)])
        self.assertEqual([4012, 4015, 4016], checked(items))
        self.assertEqual((view.origin[0] + 50, view.origin[1] + 40), tuple(menu["rect"][:2]))
        self.assertEqual([], self.probe.windows(MARQUEE) + self.probe.windows(TIP))
        self.whats_this(items, 116)

        # The colour pane: its own menu, RGB checked as a radio item.
        self.click_at(*centre(chrome.pane_rect(1)), button=3)
        _, items = self.open_menu()
        self.assertEqual([4028, 4029, None, 4016, None, WHATS_THIS], [s and s[0] for s in self.summary(items)])
        self.assertEqual([4028, 4016], checked(items))
        self.assertTrue(items[0]["radio"])
        self.whats_this(items, 119)

        # The coordinates pane: choosing "Window client" switches the readout.
        self.click_at(*centre(chrome.pane_rect(3)), button=3)
        _, items = self.open_menu()
        self.assertEqual([4030, 4031, None, 4016, None, WHATS_THIS], [s and s[0] for s in self.summary(items)])
        self.assertEqual([4030, 4016], checked(items))
        self.choose(items, 4031)
        self.click_at(*centre(chrome.pane_rect(3)), button=3)
        _, items = self.open_menu()
        self.assertEqual([4031, 4016], checked(items))
        self.whats_this(items, 121)

        # The zoom trackbar and a toolbar button: the view menu, each with its own help.
        self.click_at(*centre(chrome.rect(chrome.zoom)), button=3)
        _, items = self.open_menu()
        self.assertEqual(VIEW_MENU, [s and s[:2] for s in self.summary(items)])
        self.whats_this(items, 113)
        self.click_at(*chrome.button_centre(112), button=3)
        _, items = self.open_menu()
        self.assertEqual(VIEW_MENU, [s and s[:2] for s in self.summary(items)])
        self.whats_this(items, 112)

        # Shift+F10: the view menu at the view's top-left corner.
        app.key("shift+F10")
        menu, items = self.open_menu()
        self.assertEqual(tuple(view.origin), tuple(menu["rect"][:2]))
        xdotool("key", "Escape")
        self.wait_menu_closed()
        self.assertEqual(0, app.close())
        self.assertEqual(1, self.probe.registry()["RelativeCoords"][1][0])


class FrozenView(OverlayTestCase):
    def test_the_view_stays_frozen_while_the_selection_menu_is_open(self):
        # The fastest refresh, of a screen area far from the window.
        app, view = self.start(32, (300, 200), Update=4)
        chrome = Chrome(app)
        self.assert_picture(view, (300, 200))
        start = (view.origin[0] + 10, view.origin[1] + 10)
        self.press(3, *start, until=lambda: self.probe.windows(MARQUEE))
        self.drag_to(start[0] + 70, start[1] + 70, until=lambda: self.overlay(MARQUEE))
        xdotool("mouseup", 3)
        _, items = self.open_menu()
        self.assertTrue(next(i for i in items if i["id"] == ZOOM_TO)["grayed"])  # greyed at zoom 32

        # The screen changes under the zoom point; the readouts go on (the
        # coordinates follow the mouse), the picture does not.
        # (Compared below the marquee and left of the menu.)
        self.screen.fill_root((0, 0, 255))
        strip = lambda: [row[:60] for row in view.grab()[70:]]
        picture = strip()
        self.move(100, 100)
        wait_until(lambda: chrome.pane(3)["text"] == " 100, 100 ", 5, what="the coordinates readout")
        self.assertEqual(picture, strip())
        x0, y0 = view.first_shown((300, 200))
        self.assertEqual(pattern_colour(x0, y0 + 70 // 32), picture[0][0])

        # Cancel ends the selection: the view is drawn again at once.
        self.choose(items, CANCEL)
        self.wait_no_overlay(MARQUEE)
        wait_until(lambda: strip()[0][0] == (0, 0, 255), 5, what="the view showing the new screen")
        self.assertEqual(0, app.close())


class RightDragsWithoutSelection(OverlayTestCase):
    def assert_view_menu_next(self, app):
        """Shift+F10 opens the view menu: no other menu was left open."""
        app.key("shift+F10")
        _, items = self.open_menu()
        self.assertEqual(VIEW_MENU, [s and s[:2] for s in self.summary(items)])
        xdotool("key", "Escape")
        self.wait_menu_closed()

    def test_release_outside_and_left_click_end_the_drag_without_a_menu(self):
        app, view = self.start(4, (300, 200))
        left, top = view.origin

        # Out of the window the end stays on the view's edge; released there,
        # nothing is left.
        self.press(3, left + 41, top + 21, until=lambda: self.probe.windows(MARQUEE))
        self.drag_to(100, 100, until=lambda: self.overlay(MARQUEE))
        self.assertEqual([left, top, left + 40, top + 20], self.overlay(MARQUEE)["rect"])
        xdotool("mouseup", 3)
        self.wait_no_overlay(MARQUEE)
        self.wait_no_overlay(TIP)
        self.assertEqual(0, app.info()["capture"])
        self.assert_view_menu_next(app)

        # A left click during the drag cancels it; the later release does nothing.
        self.press(3, left + 41, top + 21, until=lambda: self.probe.windows(MARQUEE), after_menu=True)
        self.drag_to(left + 81, top + 61, until=lambda: self.overlay(TIP))
        xdotool("click", 1)
        self.wait_no_overlay(MARQUEE)
        self.wait_no_overlay(TIP)
        xdotool("mouseup", 3)
        self.assert_view_menu_next(app)
        self.assertEqual(0, app.close())


if __name__ == "__main__":
    unittest.main()

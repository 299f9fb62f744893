"""The window chrome of the real program, driven with real keys and mouse:
the tool band with its buttons and trackbars, their check states and tips,
the status-bar panes and their tips, hiding and showing the bars, the menu
prompt, the link pane (hand cursor, click) and the help shown for a newer
help file."""
import os
import subprocess
import time

from chrome_support import (ALWAYS_ON_TOP, COPY_ORIGINAL, FAR, FOLLOW_MOUSE, OPTIONS, SAVE_IMAGE,
                            SBT_NOBORDERS, TBSTATE_ENABLED, TBSTYLE_CHECK, TBSTYLE_SEP, TOGGLE_GRID,
                            TOGGLE_STATUSBAR, TOGGLE_TOOLBAR, WM_MENUSELECT, Chrome, ChromeTestCase, click,
                            move_mouse, rect_bytes)
from harness import (HELP_CONTEXT, HELP_QUIT, SC_MAXIMIZE, WM_SYSCOMMAND, HelpRecorder, dword, wait_until,
                     xdotool)
from xcursor import cursor_image


class ToolBand(ChromeTestCase):
    def test_buttons_and_trackbars_in_their_places(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        self.assertIsNotNone(chrome.rebar)
        self.assertEqual(1, self.probe.info(chrome.rebar)["id"])
        self.assertEqual(chrome.rebar, self.probe.info(chrome.toolbar)["parent"])
        self.assertEqual(115, self.probe.info(chrome.toolbar)["id"])

        buttons = chrome.buttons()
        self.assertEqual([112, 0, 32774, 0, 32771, 32772, 0, 4009, 0, 4027, 0, 4017, 0],
                         [b["command"] for b in buttons])
        for b in buttons:
            self.assertEqual(TBSTATE_ENABLED, b["state"], b)
            if b["command"]:
                kind = TBSTYLE_CHECK if b["command"] in (ALWAYS_ON_TOP, FOLLOW_MOUSE, TOGGLE_GRID) else 0
                self.assertEqual(kind, b["style"], b)
            else:
                self.assertEqual(TBSTYLE_SEP, b["style"], b)
        self.assertEqual([0, 1, 2, 3, 5, 6, 7], [b["image"] for b in buttons if b["command"]])

        # Right of the Options button: the zoom trackbar three buttons wide,
        # then the rate trackbar half as wide, both on the toolbar.
        options = chrome.button(OPTIONS)["rect"]
        tb_left, tb_top = chrome.client(chrome.toolbar)[:2]
        zoom, rate = chrome.rect(chrome.zoom), chrome.rect(chrome.rate)
        width = options[2] - options[0]
        self.assertEqual([tb_left + options[2] + 2, tb_top + options[1], tb_left + options[2] + 2 + 3 * width,
                          tb_top + options[3]], zoom)
        self.assertEqual([zoom[2] + 2, zoom[1], zoom[2] + 2 + (zoom[2] - zoom[0]) // 2, zoom[3]], rate)
        for hwnd in (chrome.zoom, chrome.rate):
            self.assertEqual(chrome.toolbar, self.probe.info(hwnd)["parent"])
        self.assertEqual((3, 1, 32), tuple(chrome.trackbar(chrome.zoom)[k] for k in ("pos", "min", "max")))
        self.assertEqual((1, 1, 4), tuple(chrome.trackbar(chrome.rate)[k] for k in ("pos", "min", "max")))
        self.assertEqual(0, app.close())

    def test_check_buttons_follow_keys_and_clicks(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        state = {ALWAYS_ON_TOP: False, FOLLOW_MOUSE: False, TOGGLE_GRID: False}
        keys = {ALWAYS_ON_TOP: "ctrl+t", FOLLOW_MOUSE: "ctrl+m", TOGGLE_GRID: "ctrl+g"}

        def check(after):
            for command, on in state.items():
                wait_until(lambda: chrome.checked(command) == on, 3,
                           what="button %d %s after %s" % (command, "checked" if on else "unchecked", after))
            # The window's own style, though it owns the tooltip control.
            self.assertEqual(state[ALWAYS_ON_TOP], app.info()["topmost"], after)

        check("start")
        steps = [("key", ALWAYS_ON_TOP), ("key", FOLLOW_MOUSE), ("key", TOGGLE_GRID),
                 ("click", ALWAYS_ON_TOP), ("click", FOLLOW_MOUSE), ("click", TOGGLE_GRID),
                 ("click", TOGGLE_GRID), ("key", TOGGLE_GRID), ("click", FOLLOW_MOUSE), ("click", ALWAYS_ON_TOP)]
        for how, command in steps:
            if how == "key":
                app.key(keys[command])
            else:
                click(*chrome.button_centre(command))
            state[command] = not state[command]
            check("%s %d" % (how, command))
        move_mouse(*FAR)
        self.assertEqual(0, app.close())
        saved = self.probe.registry()
        self.assertEqual(1, dword(saved["AlwaysOnTop"][1]))
        self.assertEqual(1, saved["MouseTracking"][1][0])
        self.assertEqual(0, saved["ShowGrid"][1][0])

    def test_tips_of_buttons_and_trackbars_as_shown(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        app.focus()
        # The buttons' tips are asked of the window (through the rebar) when shown.
        for command, text in ((OPTIONS, "Displays the options dialog (Ctrl+O)."),
                              (FOLLOW_MOUSE, "Follow the mouse (Ctrl-M)"),
                              (SAVE_IMAGE, "Save Image As (Ctrl+S)"),
                              (COPY_ORIGINAL, "Copy screen image to clipboard (Ctrl+Shift+C)")):
            self.assertEqual(text, chrome.hover_tip(*chrome.button_centre(command), text))
        zoom = chrome.rect(chrome.zoom)
        self.assertEqual("Zoom Level x3", chrome.hover_tip(zoom[0] + 3, zoom[3] - 3, "Zoom Level x3"))
        rate = chrome.rect(chrome.rate)
        self.assertEqual("Auto Update - None", chrome.hover_tip(rate[2] - 3, rate[3] - 3, "Auto Update - None"))
        move_mouse(*FAR)
        self.assertEqual(0, app.close())

    def test_hiding_and_showing_the_bars_relays_the_view(self):
        colour = (0, 160, 80)
        self.screen.fill_root(colour)
        # The view magnifies a plain area far from the window.
        app, chrome = self.launch_at(100, 100, 550, 350, ZoomPoint=rect_bytes(*FAR))
        left, top, right, bottom = app.info()["client"]
        band_height = chrome.rect(chrome.rebar)[3] - chrome.rect(chrome.rebar)[1] - 2
        status_height = chrome.rect(chrome.status)[3] - chrome.rect(chrome.status)[1]
        middle = (left + right) // 2

        def view_rows():
            """How many client rows of the tool band's and the status bar's
            places show the magnified colour; every row between them must."""
            column = self.screen.grab(middle, top, 1, bottom - top)
            shown = [row[0] == colour for row in column]
            return (shown[:band_height].count(True), shown[-status_height:].count(True),
                    all(shown[band_height:-status_height]))

        def bars():
            return self.probe.info(chrome.rebar)["visible"], self.probe.info(chrome.status)["visible"]

        self.assertEqual((True, True), bars())
        wait_until(lambda: view_rows() == (0, 0, True), 3, what="the view between the bars")
        chrome.command(TOGGLE_TOOLBAR)
        self.assertEqual((False, True), bars())
        wait_until(lambda: view_rows() == (band_height, 0, True), 3, what="the view up to the top")
        chrome.command(TOGGLE_STATUSBAR)
        self.assertEqual((False, False), bars())
        wait_until(lambda: view_rows() == (band_height, status_height, True), 3,
                   what="the view down to the bottom")
        chrome.command(TOGGLE_TOOLBAR)
        self.assertEqual((True, False), bars())
        wait_until(lambda: view_rows() == (0, status_height, True), 3, what="the view below the tool band")
        chrome.command(TOGGLE_STATUSBAR)
        self.assertEqual((True, True), bars())
        wait_until(lambda: view_rows() == (0, 0, True), 3, what="the view between the bars")
        self.assertEqual(bottom, chrome.rect(chrome.status)[3])

        # Hidden bars stay hidden at the next start.
        chrome.command(TOGGLE_TOOLBAR)
        chrome.command(TOGGLE_STATUSBAR)
        self.assertEqual(0, app.close())
        saved = self.probe.registry()
        self.assertEqual((0, 0), (saved["DisplayToolbar"][1][0], saved["DisplayStatusbar"][1][0]))
        app = self.launch()
        chrome = Chrome(app)
        self.assertEqual((False, False), bars())
        wait_until(lambda: view_rows() == (band_height, status_height, True), 3,
                   what="the whole client as view")
        self.assertEqual(0, app.close())


class StatusPanes(ChromeTestCase):
    def avail(self, app, chrome):
        """Room for the panes: the view's width less the size grip."""
        left, _, right, _ = app.info()["client"]
        status = chrome.rect(chrome.status)
        return (right - left) - (status[3] - status[1])

    def test_pane_widths_narrow_wide_and_maximised(self):
        app, chrome = self.launch_at(100, 100, 400, 350)
        narrow = chrome.edges()
        self.assertEqual(5, len(narrow))
        widths = [narrow[0]] + [narrow[i] - narrow[i - 1] for i in range(1, 5)]
        self.assertEqual(31, widths[2])
        # Too narrow for all five: pane 0 keeps its text width and the panes
        # run past the size grip.
        self.assertGreater(narrow[4], self.avail(app, chrome) + 3)
        self.assertGreater(widths[1], widths[2])
        self.assertEqual(0, app.close())

        app, chrome = self.launch_at(100, 100, 500, 350)
        self.assertEqual(narrow, chrome.edges())  # still too narrow: the same panes
        self.assertEqual(0, app.close())

        app, chrome = self.launch_at(50, 100, 1050, 350)
        wide = chrome.edges()
        wide_widths = [wide[0]] + [wide[i] - wide[i - 1] for i in range(1, 5)]
        # Room enough: pane 0 takes the rest and the last pane ends 3 pixels past avail.
        self.assertEqual(self.avail(app, chrome) + 3, wide[4])
        self.assertEqual(widths[1:], wide_widths[1:])
        self.assertGreater(wide_widths[0], widths[0])

        # A size change lays the panes out again, and their tips follow.
        self.probe.post(app.hwnd, WM_SYSCOMMAND, SC_MAXIMIZE)
        wait_until(lambda: app.info()["zoomed"], 5, what="the window maximised")
        wait_until(lambda: chrome.edges()[4] == self.avail(app, chrome) + 3, 5, what="the panes laid out again")
        edges = chrome.edges()
        self.assertEqual(widths[1:], [edges[i] - edges[i - 1] for i in range(1, 5)])
        tools = {t["id"]: t for t in chrome.tools() if t["hwnd"] == chrome.status}
        self.assertEqual([1, 2, 3, 4], sorted(tools))
        for pane in range(1, 5):
            self.assertEqual(self.probe("sbrect", chrome.status, pane)["rect"], tools[pane]["rect"], pane)
        self.assertEqual(0, app.close())

    def test_pane_texts_and_tips(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        first = chrome.pane(0)
        self.assertEqual("Press F1 for help", first["text"])
        self.assertEqual(SBT_NOBORDERS, first["type"])
        self.assertEqual(3, self.probe.info(chrome.status)["id"])
        # The tool list reads texts through the old 80-character message, so
        # of the two long tips only the start is seen there.
        tips = {t["id"]: t["text"] for t in chrome.tools() if t["hwnd"] == chrome.status}
        whole = {
            1: "Shows the color under the mouse cursor. Right click to toggle between hexadecimal and RGB format.",
            2: "The color under the mouse cursor.",
            3: "The current mouse coordinates. Right click to switch between screen coordinates and window "
               "coordinates.",
            4: "A link to Brindle. Click it to see more cool developer tools."}
        self.assertEqual(sorted(whole), sorted(tips))
        for pane, text in whole.items():
            self.assertTrue(text.startswith(tips[pane]) and len(tips[pane]) >= min(79, len(text)), tips[pane])
        # Shown, the tips are whole.
        app.focus()
        r = chrome.pane_rect(3)
        text = "The current mouse coordinates. Right click to switch between screen coordinates and window coordinates."
        self.assertEqual(text, chrome.hover_tip(r[0] + 5, r[1] + 5, text))
        r = chrome.pane_rect(2)
        self.assertEqual("The color under the mouse cursor.",
                         chrome.hover_tip(r[0] + 5, r[1] + 5, "The color under the mouse cursor."))
        move_mouse(*FAR)
        self.assertEqual(0, app.close())

    def test_menu_prompt_while_the_system_menu_is_open(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        # A highlighted item with a prompt puts it into pane 0 (sent as a
        # menu would; the program's own menus come later).
        self.probe.send(app.hwnd, WM_MENUSELECT, 4011 | (0x80 << 16), chrome.toolbar)
        self.assertEqual("Set the zoom factor to 2 times", chrome.pane(0)["text"])
        app.key("alt+space")
        try:
            wait_until(lambda: any(self.probe.info(h)["visible"] for h in self.probe.windows("#32768")), 5,
                       what="the system menu open")
            # Opening highlights the first item (Restore); one step down is
            # Move. Each highlight replaces the prompt by the help hint,
            # since the system items have none.
            for step in range(3):
                self.probe.send(app.hwnd, WM_MENUSELECT, 4011 | (0x80 << 16), chrome.toolbar)
                self.assertEqual("Set the zoom factor to 2 times", chrome.pane(0)["text"])
                xdotool("key", "Down")
                self.wait_pane(chrome, 0, "Press F1 for help")
            self.probe.send(app.hwnd, WM_MENUSELECT, 4011 | (0x80 << 16), chrome.toolbar)
        finally:
            # The first Escape closes the pop-up, the second leaves the menu.
            xdotool("key", "Escape")
            time.sleep(0.2)
            xdotool("key", "Escape")
        wait_until(lambda: not any(self.probe.info(h)["visible"] for h in self.probe.windows("#32768")), 5,
                   what="the system menu closed")
        # Leaving the menu puts the hint back, too.
        self.wait_pane(chrome, 0, "Press F1 for help")
        self.assertEqual(SBT_NOBORDERS, chrome.pane(0)["type"])
        self.assertEqual(0, app.close())


class LinkPane(ChromeTestCase):
    def setUp(self):
        super().setUp()
        # Wine opens web links with winebrowser, which tries the programs of
        # this list: here one that records the address it is given.
        self.urls = os.path.join(self.workdir, "opened-urls.txt")
        self.opener = os.path.join(self.workdir, "record-url.sh")
        with open(self.opener, "w") as f:
            f.write("#!/bin/sh\nprintf '%%s\\n' \"$@\" >> '%s'\n" % self.urls)
        os.chmod(self.opener, 0o755)
        self.reg("add", "/v", "Browsers", "/t", "REG_SZ", "/d", self.opener, "/f")

    def tearDown(self):
        self.reg("delete", "/v", "Browsers", "/f")
        super().tearDown()

    @staticmethod
    def reg(*args):
        subprocess.run(["wine", "reg"] + [args[0], r"HKCU\Software\Wine\WineBrowser"] + list(args[1:]),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def opened(self):
        if not os.path.exists(self.urls):
            return []
        with open(self.urls) as f:
            return f.read().split()

    @staticmethod
    def steady_cursor(other=None):
        """The cursor once it differs from `other` and stays the same for a
        moment (Wine shows a blank 1 x 1 cursor for an instant on a change)."""
        previous = [None]

        def steady():
            now = cursor_image()
            settled = now == previous[0] and now != other and now[0] > 1
            previous[0] = now
            return settled and now
        return wait_until(steady, 3, interval=0.1, what="a new cursor")

    def test_hand_over_the_link_and_a_click_opens_the_web_page(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        app.focus()
        link, coords = chrome.pane_rect(4), chrome.pane_rect(3)
        y = (link[1] + link[3]) // 2
        outside = self.steady_cursor()  # the X server's own, over the bare screen
        move_mouse(coords[0] + 10, y)
        arrow = self.steady_cursor(outside)
        move_mouse(link[0] + 10, y)
        hand = self.steady_cursor(arrow)
        self.assertNotEqual(arrow[2:4], hand[2:4])  # the hand points elsewhere than the arrow
        move_mouse(link[0] + 2, link[3] - 2)
        wait_until(lambda: cursor_image() == hand, 3, what="the hand all over the link")
        move_mouse(coords[2] - 3, y)
        wait_until(lambda: cursor_image() == arrow, 3, what="the arrow back over the coordinates")

        # A click on the coordinates pane opens nothing; one on the link opens its page.
        click(coords[0] + 10, y)
        time.sleep(1.0)
        self.assertEqual([], self.opened())
        click(link[0] + 10, y)
        wait_until(self.opened, 15, what="the web page opened")
        time.sleep(0.5)
        self.assertEqual(["https://www.brindle.example/?Scopella"], self.opened())
        move_mouse(*FAR)
        self.assertEqual(0, app.close())


    def test_no_hand_on_the_border_where_a_hidden_status_bar_lies(self):
        app, chrome = self.launch_at(100, 100, 650, 400)
        app.focus()
        link = chrome.pane_rect(4)
        move_mouse(link[0] + 10, (link[1] + link[3]) // 2)
        hand = self.steady_cursor()
        chrome.command(TOGGLE_STATUSBAR)
        wait_until(lambda: not self.probe.info(chrome.status)["visible"], 3, what="the status bar hidden")
        # The hidden bar now lies below the client area, across the bottom
        # border: there the border's own sizing cursor belongs.
        bottom = app.info()["rect"][3]
        hidden = chrome.pane_rect(4)
        self.assertLess(hidden[1], bottom - 1)
        move_mouse(link[0] - 100, bottom - 2)
        sizing = self.steady_cursor(hand)
        move_mouse(link[0] + 10, bottom - 2)
        time.sleep(0.3)
        self.assertEqual(sizing, self.steady_cursor(hand))
        move_mouse(*FAR)
        self.assertEqual(0, app.close())


class HelpFreshness(ChromeTestCase):
    def setUp(self):
        super().setUp()
        self.recorder = HelpRecorder(self.probe, os.path.join(self.workdir, "help-requests.log"))

    def tearDown(self):
        self.recorder.stop()
        super().tearDown()

    def requests(self):
        return self.recorder.requests()

    def contexts(self):
        return [r for r in self.requests() if r[0] == HELP_CONTEXT]

    def run_once(self):
        app = self.launch()
        time.sleep(0.5)
        self.assertEqual(0, app.close())
        # Closing always asks the viewer to quit.
        wait_until(lambda: [r for r in self.requests() if r[0] == HELP_QUIT], 5, what="HELP_QUIT")

    def test_a_newer_help_file_opens_the_main_topic_once(self):
        self.run_once()
        self.assertEqual([], self.contexts())  # no help file, no help

        help_file = os.path.join(self.workdir, "Scopella.hlp")
        with open(help_file, "wb") as f:
            f.write(b"help")
        os.utime(help_file, ns=(1_600_000_000_123_456_700, 1_600_000_000_123_456_700))
        self.run_once()
        opened = self.contexts()
        self.assertEqual(1, len(opened))
        self.assertEqual(6, opened[0][1])
        self.assertIn("Scopella.hlp", opened[0][2])
        stored = int.from_bytes(self.probe.registry()["HelpFileTime"][1], "little")
        self.assertEqual(1_600_000_000_123_456_700 // 100 + 116444736000000000, stored)

        self.run_once()
        self.assertEqual(1, len(self.contexts()))  # the same file: no help

        os.utime(help_file, ns=(1_700_000_000_000_000_000, 1_700_000_000_000_000_000))
        self.run_once()
        self.assertEqual(2, len(self.contexts()))  # newer again


if __name__ == "__main__":
    import unittest
    unittest.main()

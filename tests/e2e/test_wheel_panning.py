"""The mouse wheel and middle-button panning of the real program: Ctrl+wheel
steps the zoom, Shift+wheel the opacity; a middle click pans the view through
PANX.dll until a click or Escape, after which the library is unloaded."""
import os
import shutil

from chrome_support import OPTIONS, Chrome
from dialog_support import Dialog, close_box, key, message_box, type_text
from harness import wait_until, windows_path, xdotool
from viewshot import ON, ViewTestCase
from xdesktop import start_solid_window


class WheelAndPanning(ViewTestCase):
    def zoom(self, app):
        bars = [self.probe("trackbar", c["hwnd"]) for c in self.probe.children(app.hwnd)
                if c["class"] == "msctls_trackbar32"]
        return next(b["pos"] for b in bars if b["max"] == 32)

    def turn(self, app, keys, button, read=None, wanted=None, focus=True):
        """One wheel notch (button 4 up, 5 down) over the view with keys held,
        then waits for read(app) to give wanted."""
        if focus:
            app.focus()
        xdotool("mousemove", app.info()["client"][0] + 100, app.info()["client"][1] + 100)
        xdotool("keydown", keys, "click", button, "keyup", keys)
        if read:
            wait_until(lambda: read(app) == wanted, 5, what="%s after %s+wheel %s" % (wanted, keys, button))

    def test_ctrl_steps_the_zoom_and_shift_the_opacity_within_their_bounds(self):
        alpha = lambda app: app.info()["alpha"]
        # 0x100 + 35: the opacity is the low byte, and bits above it (edited
        # by hand) do not turn a step down into a jump.
        app, _ = self.start(2, (300, 200), Transparent=ON, nTransparency=0x100 + 35)
        self.turn(app, "ctrl", 5, self.zoom, 1)
        self.turn(app, "ctrl", 5)  # stays at 1: the next step up gives 2
        self.turn(app, "ctrl", 4, self.zoom, 2)
        self.turn(app, "shift", 5, alpha, 10)
        self.turn(app, "shift", 5)
        self.turn(app, "shift", 4, alpha, 40)
        self.assertEqual(0, app.close())

        app, _ = self.start(31, (300, 200), Transparent=ON, nTransparency=224)
        self.turn(app, "ctrl", 4, self.zoom, 32)
        self.turn(app, "ctrl", 4)
        self.turn(app, "shift", 4, alpha, 254)
        self.turn(app, "shift", 4, alpha, 255)
        self.turn(app, "shift", 4)
        self.turn(app, "shift+ctrl", 5, alpha, 225)  # as Shift alone
        self.assertEqual(32, self.zoom(app))
        self.assertEqual(0, app.close())
        self.assertEqual(225, int.from_bytes(self.probe.registry()["nTransparency"][1], "little"))

    def test_after_each_dialog_the_wheel_zooms_without_a_click_and_never_takes_another_programs_focus(self):
        # Nothing here clicks Scopella or sets the X focus on it: keys and
        # the wheel go where the program itself put the focus. Wine without a
        # window manager left no window active at all when a dialog was closed
        # before Wine had handled the X focus moving to it. (Fast auto-update:
        # the program as busy as in use.)
        app, _ = self.start(3, (300, 200), Update=4, InitialDirectory=windows_path(self.workdir) + "\\")
        for zoom, (opening, title, typed, closing) in zip((5, 7, 9, 11), (
                ("ctrl+a", "About", "", "Escape"), ("ctrl+o", "Options", "", "Return"),
                ("ctrl+s", "Save As", "", "Escape"), ("ctrl+s", "Save As", r"Z:\proc\shot.bmp", "Return"))):
            # Active before the keys: a focus lost late to the last dialog shows here.
            wait_until(lambda: app.info()["foreground"], 10, what="Scopella active before %s" % title)
            key(opening)
            Dialog(self.probe, title, app.hwnd)
            type_text(typed)
            key(closing)
            if typed:  # /proc takes no new file: the error box
                _, texts = message_box(self.probe, app.hwnd)
                self.assertEqual(["Failed to write the image to the file specified."], texts)
                key("Return")
            wait_until(lambda: (lambda i: i["foreground"] and i["focus"] == app.hwnd)(app.info()), 15,
                       what="Scopella active with the focus after %s" % title)
            self.turn(app, "ctrl", 4, focus=False)
            self.turn(app, "ctrl", 4, self.zoom, zoom, focus=False)

        # Another program's window takes the X focus. Wine 8 then shows
        # Scopella the same as when no window at all is active: the desktop
        # window (another process's) in front, no active or focus window in
        # its thread, a null cursor from GetCursorInfo (Windows: that
        # program's window in front). So only the end of its own dialog makes
        # Scopella take the activation back; the pointer and the wheel over
        # it leave the X focus where it is.
        other = start_solid_window(self.workdir, (40, 40, 200, 120), (20, 230, 40))
        self.addCleanup(other.stop)
        xdotool("windowfocus", "--sync", other.ready)
        wait_until(lambda: not app.info()["foreground"], 10, what="Scopella inactive")
        client = app.info()["client"]
        xdotool("mousemove", client[0] + 150, client[1] + 120)  # the pointer enters the view
        self.turn(app, "ctrl", 4, focus=False)
        chrome = Chrome(app)
        text = "Displays the options dialog (Ctrl+O)."
        self.assertEqual(text, chrome.hover_tip(*chrome.button_centre(OPTIONS), text))  # all moves handled
        self.assertEqual(str(other.ready), xdotool("getwindowfocus").strip())
        self.assertFalse(app.info()["foreground"])
        self.assertEqual(0, close_box(app))

    def marker(self):
        found = self.probe.windows("PanxOriginMarker")
        return found and self.probe.info(found[0])["visible"] and self.probe.info(found[0])

    def ended(self, app):
        modules = self.probe("modules", app.info()["pid"])["modules"]
        return not self.marker() and "panx.dll" not in [m.lower() for m in modules]

    def test_middle_click_pans_towards_the_pointer_until_a_click_or_escape(self):
        app, view = self.start(3, (300, 250))
        self.wait_for_picture(view, (300, 250))
        origin = (view.origin[0] + 60, view.origin[1] + 40)
        xdotool("mousemove", *origin, "click", 2)
        rect = wait_until(self.marker, 5, what="the origin marker")["rect"]
        self.assertEqual(origin, ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2))
        self.assertFalse(self.ended(app))
        # Right of the origin the view moves right only.
        xdotool("mousemove", origin[0] + 80, origin[1])
        wait_until(lambda: view.centre_cell_point()[0] >= 320, 10, what="the view moving right")
        self.assertEqual(250, view.centre_cell_point()[1])
        # The end message from another program, twice, while panning runs:
        # the library is not its to free; panning goes on, now to the left.
        end = self.probe("regmsg", "bw_OriginWindowEnd")["id"]
        self.probe.post(app.hwnd, end)
        self.probe.post(app.hwnd, end)
        xdotool("mousemove", origin[0] - 80, origin[1])
        wait_until(lambda: view.centre_cell_point()[0] <= 300, 10, what="the view moving left")
        self.assertFalse(self.ended(app))
        # Above the origin it moves up only.
        xdotool("mousemove", origin[0], origin[1] - 80)
        wait_until(lambda: view.centre_cell_point()[1] <= 230, 10, what="the view moving up")
        x = view.centre_cell_point()[0]
        # Back at the origin it stops; a click ends panning and frees the library.
        xdotool("mousemove", *origin, "click", 1)
        wait_until(lambda: self.ended(app), 5, what="panning ended by a click")
        point = view.centre_cell_point()
        self.assertEqual(x, point[0])
        self.assert_picture(view, point)

        # End messages with no panning running change nothing either.
        self.probe.post(app.hwnd, end)
        self.probe.post(app.hwnd, end)
        xdotool("click", 2)
        wait_until(self.marker, 5, what="the origin marker")
        app.key("Escape")
        wait_until(lambda: self.ended(app), 5, what="panning ended by Escape")
        self.assertEqual(0, app.close())

    def test_without_the_library_a_middle_click_starts_nothing(self):
        exe = shutil.copy(os.environ["SCOPELLA_EXE"], os.path.join(self.workdir, "scopella.exe"))
        self.write_settings(ZoomFactor=3)
        app = self.launch(command=["wine", exe])
        xdotool("mousemove", app.info()["client"][0] + 100, app.info()["client"][1] + 100, "click", 2)
        self.turn(app, "ctrl", 4, self.zoom, 4)  # after the click was handled
        self.assertTrue(self.ended(app))
        self.assertEqual(0, app.close())

"""The mouse wheel and middle-button panning of the real program: Ctrl+wheel
steps the zoom, Shift+wheel the opacity; a middle click pans the view through
PANX.dll until a click or Escape, after which the library is unloaded."""
import os
import shutil

from dialog_support import Dialog
from harness import wait_until, xdotool
from viewshot import ON, ViewTestCase


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

    def test_ctrl_wheel_zooms_after_a_dialog_closed_with_a_key(self):
        # Without a window manager Wine gave the keyboard focus to no window
        # when a dialog ended; the wheel goes to the focus, and zoomed nothing.
        app, _ = self.start(3, (300, 200))
        for opening, title, closing, zoom in (("ctrl+a", "About", "Escape", 5), ("ctrl+o", "Options", "Return", 7)):
            app.focus()
            app.key(opening)
            dialog = Dialog(self.probe, title, app.hwnd)
            xdotool("key", closing)
            dialog.wait_closed(app)
            self.turn(app, "ctrl", 4, focus=False)
            self.turn(app, "ctrl", 4, self.zoom, zoom, focus=False)
        self.assertEqual(0, app.close())

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

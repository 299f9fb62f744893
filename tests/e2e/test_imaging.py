"""Image output of the real program, observed from outside: the clipboard as
X programs read it, the global hotkeys against another program holding one,
BMP files saved through the Save As dialog with real keys, and the failures a
person sees (a read-only folder, a full disk, a failed capture)."""
import os
import subprocess

from chrome_support import COLOUR_HEX, COPY_ORIGINAL, COPY_ZOOMED, TOGGLE_GRID, Chrome, click, move_mouse
from harness import PREFIX, WM_COMMAND, wait_until, windows_path
from imaging_support import SaveDialog, clipboard, file_bytes, message_box, parse_bmp, stretch_errors, wait_file
from viewshot import ViewTestCase

MOD_CONTROL_SHIFT = 0x0006
ZOOMED = b"\x01\0\0\0"  # SaveZoomedImage is four bytes
WRITE_FAILED = "Failed to write the image to the file specified."
CAPTURE_FAILED = "Failed to properly capture the screen image."


def clipboard_bmp(previous):
    """The clipboard's bitmap once it is no longer the previous one."""
    return wait_until(lambda: (lambda d: d if d and d != previous else None)(clipboard("image/bmp")), 20,
                      what="a new bitmap on the clipboard")


class Clipboard(ViewTestCase):
    def test_copies_of_the_view_at_both_sizes_and_a_busy_clipboard(self):
        # Ctrl+Shift+C is the accelerator while the colour hotkey is elsewhere.
        app, view = self.start(4, (300, 200), nHotKeyColourVK=0x4B)
        first, size = view.first_shown((300, 200)), (view.width, view.height)
        source = self.screen.grab(first[0], first[1], view.cols, view.rows)
        chrome = Chrome(app)
        previous = b""
        for how, zoomed in (("ctrl+c", True), ("ctrl+shift+c", False), (COPY_ZOOMED, True), (COPY_ORIGINAL, False)):
            self.probe("clipset", "before")
            if isinstance(how, str):
                app.key(how)
            else:
                click(*chrome.button_centre(how))
            previous = clipboard_bmp(previous)
            fields, rows = parse_bmp(previous)
            if zoomed:
                self.assertEqual(size, (fields["width"], abs(fields["height"])), how)
                stretch_errors(self, rows, first, view.cols, view.rows)
            else:
                self.assertEqual(source, rows, how)
        # Another program holds the clipboard open: the copy beeps, and its
        # contents stay. Ctrl+G after it shows the copy has been handled.
        self.probe("clipset", "kept")
        self.assertTrue(self.probe("cliphold")["ok"])
        try:
            app.key("ctrl+c", "ctrl+g")
            wait_until(lambda: chrome.checked(TOGGLE_GRID), 10, what="the grid button checked")
        finally:
            self.probe("cliprelease")
        self.assertEqual(b"kept", clipboard("UTF8_STRING"))
        self.assertEqual(0, app.close())


class Hotkeys(ViewTestCase):
    def test_colour_hotkey_works_while_another_program_holds_the_bitmap_hotkey(self):
        self.assertTrue(self.probe("hotkey", 1, MOD_CONTROL_SHIFT, 0x42)["ok"])  # Ctrl+Shift+B
        try:
            move_mouse(255, 128)  # pattern colour 255,128,0
            app, view = self.start(3, (300, 200))
            chrome = Chrome(app)
            wait_until(lambda: "255,128,000" in chrome.pane(1)["text"], 10, what="the colour readout")
            # Wine delivers global hotkeys only while one of its windows has
            # the focus (Windows delivers them everywhere): app.key focuses it.
            app.key("ctrl+shift+c")
            wait_until(lambda: clipboard("UTF8_STRING") == b"255,128,0", 10, what="the RGB colour text")
            self.probe.send(app.hwnd, WM_COMMAND, COLOUR_HEX)
            app.key("ctrl+shift+c")
            wait_until(lambda: clipboard("UTF8_STRING") == b"#ff8000", 10, what="the hex colour text")
            self.assertEqual(0, app.close())
        finally:
            self.probe("unhotkey", 1)
        # Both keys are free again for another program.
        self.assertTrue(self.probe("hotkey", 2, MOD_CONTROL_SHIFT, 0x43)["ok"])
        self.assertTrue(self.probe("hotkey", 1, MOD_CONTROL_SHIFT, 0x42)["ok"])
        self.probe("unhotkey", 1)
        self.probe("unhotkey", 2)


class SaveAs(ViewTestCase):
    def test_save_dialog_with_real_keys(self):
        app, view = self.start(4, (300, 200), InitialDirectory=windows_path(self.workdir) + "\\")
        dialog = SaveDialog(app)
        first = view.first_shown((300, 200))
        source = self.screen.grab(first[0], first[1], view.cols, view.rows)
        # A name without extension gets ".bmp"; the box starts clear: 1x.
        dialog.save("first")
        path = os.path.join(self.workdir, "first.bmp")
        fields, rows = parse_bmp(wait_file(path))
        stride = (view.cols * 32 + 31) // 32 * 4
        self.assertEqual(dict(type=b"BM", size=54 + stride * view.rows, reserved1=0, reserved2=0, offbits=54,
                              bisize=40, width=view.cols, height=view.rows, planes=1, bits=32, compression=0,
                              sizeimage=stride * view.rows, xppm=0, yppm=0, clrused=0, clrimportant=0), fields)
        self.assertEqual(source, rows)
        # The box set: the view's size.
        dialog.save("second", toggle=True)
        fields, rows = parse_bmp(wait_file(os.path.join(self.workdir, "second.bmp")))
        self.assertEqual((view.width, view.height), (fields["width"], fields["height"]))
        stretch_errors(self, rows, first, view.cols, view.rows)
        # ImageMagick reads the same pixels.
        magick = subprocess.run(["convert", os.path.join(self.workdir, "second.bmp"), "-depth", "8", "rgb:-"],
                                capture_output=True, timeout=30, check=True).stdout
        self.assertEqual(bytes(c for row in rows for p in row for c in p), magick)
        # Cancel after toggling: nothing saved, nothing changed.
        dialog.open()
        self.assertTrue(dialog.checked())
        dialog.toggle()
        dialog.finish("Escape")
        # An existing file: asked before it is replaced (now zoomed).
        dialog.save("first", replacing=True)
        wait_until(lambda: parse_bmp(file_bytes(path))[0]["width"] == view.width, 10, what="the file replaced")
        self.assertEqual(0, app.close())
        self.assertEqual(["first.bmp", "second.bmp"], sorted(os.listdir(self.workdir)))
        values = self.probe.registry()
        self.assertEqual(b"\x01\x00\x00\x00", values["SaveZoomedImage"][1])
        self.assertEqual((windows_path(self.workdir) + "\\").encode(), values["InitialDirectory"][1].split(b"\0")[0])


class Failures(ViewTestCase):
    def mount(self, folder, options):
        """A tiny filesystem of its own at the folder (as root); unmounted at the end."""
        os.makedirs(folder)
        subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", folder], check=True, timeout=10)
        self.addCleanup(subprocess.run, ["umount", "-l", folder], timeout=10)

    def drive(self, letter, folder):
        link = os.path.join(PREFIX, "dosdevices", letter + ":")
        os.symlink(folder, link)
        self.addCleanup(os.remove, link)
        return letter.upper() + ":\\"

    def test_unwritable_places_show_4004_and_keep_the_earlier_file(self):
        if os.geteuid() != 0:
            self.skipTest("needs root: a read-only and a full filesystem are mounted for it")
        full, readonly = os.path.join(self.workdir, "full"), os.path.join(self.workdir, "ro")
        self.mount(full, "size=16k")
        self.mount(readonly, "size=64k")
        for folder in (full, readonly):
            with open(os.path.join(folder, "shot.bmp"), "wb") as f:
                f.write(b"earlier")
        subprocess.run(["mount", "-o", "remount,ro", readonly], check=True, timeout=10)
        for letter, folder in (("s", full), ("r", readonly)):
            app, view = self.start(4, (300, 200), InitialDirectory=self.drive(letter, folder), SaveZoomedImage=ZOOMED)
            dialog = SaveDialog(app)
            dialog.save("shot", replacing=True)
            self.assertEqual(("Scopella", [WRITE_FAILED]), message_box(self.probe, app.hwnd), folder)
            self.assertEqual(["shot.bmp"], os.listdir(folder))
            self.assertEqual(b"earlier", file_bytes(os.path.join(folder, "shot.bmp")))
            self.assertEqual(0, app.close())

    def test_nothing_to_capture_shows_4005(self):
        app, view = self.start(4, (300, 200), InitialDirectory=windows_path(self.workdir) + "\\",
                               SaveZoomedImage=ZOOMED)
        # A window too low for its bars has no view: a zoomed capture has nothing to take.
        left, top, right, bottom = app.info()["rect"]
        self.probe("setpos", app.hwnd, left, top, right - left, bottom - top - view.height - 10)
        wait_until(lambda: view.refresh() or view.height < 0, 10, what="the view gone")
        SaveDialog(app).save("none")
        self.assertEqual(("Scopella", [CAPTURE_FAILED]), message_box(self.probe, app.hwnd))
        self.assertEqual([], os.listdir(self.workdir))
        self.assertEqual(0, app.close())

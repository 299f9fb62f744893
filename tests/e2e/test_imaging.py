"""Image output seen from outside: the clipboard as X programs read it (a
bitmap and a PNG of the same pixels), the hotkeys against another program,
BMP and PNG files saved with real keys (on the
shared 24-bit display, 32-bit files; on a 16-bit display of its own, 16-bit
ones; Xvfb has no 24-bit pixel layout, so 24-bit files are checked
in-process), and the failures a person sees."""
import glob
import os
import shutil
import struct
import subprocess
import tempfile

from chrome_support import COLOUR_HEX, COPY_ORIGINAL, COPY_ZOOMED, TOGGLE_GRID, Chrome, click, move_mouse
from dialog_support import dialogs, save
from harness import PREFIX, WM_COMMAND, wait_until, windows_path, xdotool
from overlay_support import MARQUEE, OverlayTestCase
from viewshot import ViewTestCase, pattern_point
from xscreen import pattern_colour

ZOOMED = b"\x01\0\0\0"  # SaveZoomedImage
FIELDS = "type size r1 r2 offbits bisize width height planes bits compression sizeimage xppm yppm used important"


def clipboard(target):
    try:
        out = subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"], capture_output=True, timeout=5)
        return out.stdout if out.returncode == 0 else b""
    except subprocess.TimeoutExpired:  # asked again by the caller
        return b""


def parse_bmp(data):
    """Header fields and pixel rows (top first) of a BMP; 16-bit pixels as 5-bit parts."""
    f = dict(zip(FIELDS.split(), struct.unpack_from("<2sIHHIIiiHHIIiiII", data)))
    stride, step = (f["width"] * f["bits"] + 31) // 32 * 4, f["bits"] // 8
    rows = []
    for y in range(abs(f["height"])):
        line = data[f["offbits"] + y * stride:]
        if step == 2:
            rows.append([(v >> 10, v >> 5 & 31, v & 31) for v in struct.unpack_from("<%dH" % f["width"], line)])
        else:
            rows.append([(line[step * x + 2], line[step * x + 1], line[step * x]) for x in range(f["width"])])
    return f, rows[::-1] if f["height"] > 0 else rows


def png_rows(test, data):
    """Pixel rows (top first) of an 8-bit RGB PNG without alpha, as
    ImageMagick decodes it."""
    test.assertEqual((b"\x89PNG\r\n\x1a\n", 8, 2), (data[:8], data[24], data[25]))  # depth 8, RGB
    width, height = struct.unpack_from(">II", data, 16)
    rgb = subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=data, capture_output=True,
                         timeout=30).stdout
    return [[tuple(rgb[3 * (y * width + x):3 * (y * width + x) + 3]) for x in range(width)] for y in range(height)]


def assert_same_pixels(test, expected, rows):
    """Equal pixel rows; a difference names the sizes and the first wrong pixel
    (a diff of whole pictures takes minutes)."""
    size = lambda r: (len(r[0]) if r else 0, len(r))
    test.assertEqual(size(expected), size(rows))
    wrong = next(((x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if expected[y][x] != p), None)
    test.assertIsNone(wrong, wrong and "pixel %s: %s, not %s" % (wrong, rows[wrong[1]][wrong[0]],
                                                                 expected[wrong[1]][wrong[0]]))


def assert_png_beside(test, rows):
    """The clipboard offers X programs a PNG beside the bitmap, of its pixels."""
    test.assertTrue({"image/png", "image/bmp"} <= set(clipboard("TARGETS").decode().split()))
    assert_same_pixels(test, rows, png_rows(test, clipboard("image/png")))


def expected_fields(view, bits):
    image = (view.cols * bits + 31) // 32 * 4 * view.rows
    return dict(zip(FIELDS.split(), (b"BM", 54 + image, 0, 0, 54, 40, view.cols, view.rows, 1, bits, 0, image,
                                     0, 0, 0, 0)))


def assert_stretch(test, rows, first, cols, count):
    """A zoomed copy of the pattern: its columns (rows) show the source's in
    order, each at least once, near their proportional place."""
    xs = [pattern_point(p)[0] - first[0] for p in rows[0]]
    ys = [pattern_point(row[0])[1] - first[1] for row in rows]
    for places, n in ((xs, cols), (ys, count)):
        test.assertEqual(list(range(n)), sorted(set(places)))
        test.assertEqual(sorted(places), places)
        test.assertLessEqual(max(abs(p - i * n / len(places)) for i, p in enumerate(places)), 1)
    test.assertEqual([[pattern_colour(first[0] + x, first[1] + y) for x in xs] for y in ys], rows)


def message_box(probe, owner):
    """Caption and texts of the window's message box, closed with OK."""
    box = wait_until(lambda: dialogs(probe, owner), 15, what="a message box")[0]
    texts = [probe("gettext", c["hwnd"])["text"] for c in probe.children(box) if c["class"] == "Static"]
    caption = probe.info(box)["title"]
    probe.post(box, WM_COMMAND, 1)
    wait_until(lambda: not dialogs(probe, owner) and probe.info(owner)["foreground"], 10, what="the box closed")
    return caption, [t for t in texts if t]


def read_file(path):
    with open(path, "rb") as f:
        return f.read()


class Clipboard(ViewTestCase):
    def test_copies_at_both_sizes_a_busy_clipboard_and_the_colour_hotkey(self):
        # Another program holds Ctrl+Shift+B. The colour hotkey is moved off
        # Ctrl+Shift+C first (the accelerator), then comes back.
        self.assertTrue(self.probe("hotkey", 1, 6, 0x42)["ok"])
        self.addCleanup(self.probe, "unhotkey", 1)
        app, view = self.start(4, (300, 200), nHotKeyColourVK=0x4B)
        first = view.first_shown((300, 200))
        source = self.screen.grab(first[0], first[1], view.cols, view.rows)
        chrome, data = Chrome(app), b""
        for how, zoomed in (("ctrl+c", True), ("ctrl+shift+c", False), (COPY_ZOOMED, True), (COPY_ORIGINAL, False)):
            self.probe("clipset", "before")
            app.key(how) if isinstance(how, str) else click(*chrome.button_centre(how))
            data = wait_until(lambda: (lambda d: d != data and d)(clipboard("image/bmp")), 20, what="a new bitmap")
            fields, rows = parse_bmp(data)
            assert_png_beside(self, rows)
            if zoomed:
                self.assertEqual((view.width, view.height), (fields["width"], abs(fields["height"])))
                assert_stretch(self, rows, first, view.cols, view.rows)
            else:
                self.assertEqual(source, rows, how)
        # A clipboard held open by another program keeps its contents (the
        # copy beeps); Ctrl+G after it shows the copy was handled.
        self.probe("clipset", "kept")
        self.assertTrue(self.probe("cliphold")["ok"])
        app.key("ctrl+c", "ctrl+g")
        wait_until(lambda: chrome.checked(TOGGLE_GRID), 10, what="the grid button checked")
        self.probe("cliprelease")
        self.assertEqual(b"kept", clipboard("UTF8_STRING"))
        self.assertEqual(0, app.close())

        move_mouse(255, 128)  # pattern colour 255,128,0
        self.probe.delete_key()  # the default hotkeys again
        # Without WIC (its library switched off) a copy is the bitmap alone.
        overrides = os.environ.get("WINEDLLOVERRIDES", "")
        os.environ["WINEDLLOVERRIDES"] = overrides + ";windowscodecs=d"
        try:
            app, view = self.start(3, (300, 200))
        finally:
            os.environ["WINEDLLOVERRIDES"] = overrides
        app.key("ctrl+c")
        wait_until(lambda: clipboard("image/bmp"), 20, what="the bitmap")
        self.assertNotIn("image/png", clipboard("TARGETS").decode().split())
        chrome = Chrome(app)
        wait_until(lambda: "255,128,000" in chrome.pane(1)["text"], 10, what="the colour readout")
        # Wine delivers global hotkeys only while one of its windows has the
        # focus (Windows everywhere): app.key gives Scopella the focus.
        app.key("ctrl+shift+c")
        wait_until(lambda: clipboard("UTF8_STRING") == b"255,128,0", 20, what="the RGB colour text")
        self.probe.send(app.hwnd, WM_COMMAND, COLOUR_HEX)
        app.key("ctrl+shift+c")
        wait_until(lambda: clipboard("UTF8_STRING") == b"#ff8000", 20, what="the hex colour text")
        self.assertEqual(0, app.close())
        # Both keys are free again for another program.
        self.probe("unhotkey", 1)
        self.assertTrue(self.probe("hotkey", 2, 6, 0x43)["ok"] and self.probe("hotkey", 1, 6, 0x42)["ok"])
        self.probe("unhotkey", 2)


class SaveAs(ViewTestCase):
    def start_in(self, folder, **settings):
        return self.start(4, (300, 200), InitialDirectory=folder, **settings)

    def test_save_dialog_with_real_keys(self):
        folder = windows_path(self.workdir) + "\\"
        app, view = self.start_in(folder)
        first = view.first_shown((300, 200))
        source = self.screen.grab(first[0], first[1], view.cols, view.rows)
        # A name without extension gets ".bmp"; the box starts clear: 1x.
        self.assertFalse(save(app, "first"))
        path = os.path.join(self.workdir, "first.bmp")
        fields, rows = parse_bmp(wait_until(lambda: os.path.exists(path) and read_file(path), 10, what=path))
        self.assertEqual((expected_fields(view, 32), source), (fields, rows))
        # The box set: the view's size, the same pixels in ImageMagick.
        save(app, "second", toggle=True)
        second = os.path.join(self.workdir, "second.bmp")
        fields, rows = parse_bmp(wait_until(lambda: os.path.exists(second) and read_file(second), 10, what=second))
        assert_stretch(self, rows, first, view.cols, view.rows)
        magick = subprocess.run(["convert", second, "-depth", "8", "rgb:-"], capture_output=True, timeout=30).stdout
        self.assertEqual(bytes(c for row in rows for p in row for c in p), magick)
        # PNG files of the same pixels: the type chosen (its extension
        # added), and a typed ".png" that wins over the BMP type.
        save(app, "third", png_type=True)
        save(app, "fourth.png")
        for name in ("third.png", "fourth.png"):
            png = os.path.join(self.workdir, name)
            assert_same_pixels(self, rows, png_rows(self, wait_until(lambda: os.path.exists(png) and read_file(png),
                                                                     10, what=png)))
        # Cancel after a toggle changes nothing; a replaced file is asked for.
        self.assertTrue(save(app, "", toggle=True, key="Escape"))
        self.assertTrue(save(app, "first", replacing=True))
        wait_until(lambda: parse_bmp(read_file(path))[0]["width"] == view.width, 10, what="first.bmp replaced")
        self.assertEqual(0, app.close())
        self.assertEqual(["first.bmp", "fourth.png", "second.bmp", "third.png"], sorted(os.listdir(self.workdir)))
        values = self.probe.registry()
        self.assertEqual(ZOOMED, values["SaveZoomedImage"][1])
        self.assertEqual(folder.encode(), values["InitialDirectory"][1].split(b"\0")[0])

    def test_unwritable_places_show_4004_and_keep_the_earlier_file(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to mount a read-only and a full filesystem")
        for letter, options in (("s", "size=16k"), ("r", "size=64k")):
            folder, link = os.path.join(self.workdir, letter), os.path.join(PREFIX, "dosdevices", letter + ":")
            os.makedirs(folder)
            subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", folder], check=True, timeout=10)
            self.addCleanup(subprocess.run, ["umount", "-l", folder], timeout=10)
            for name in ("shot.bmp", "shot.png"):
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(b"earlier")
            if letter == "r":
                subprocess.run(["mount", "-o", "remount,ro", folder], check=True, timeout=10)
            else:  # full to the last byte
                with open(os.path.join(folder, "filler"), "wb", buffering=0) as f:
                    try:
                        while f.write(b"\0" * 1024):
                            pass
                    except OSError:
                        pass
            os.symlink(folder, link)
            self.addCleanup(os.remove, link)
            app, view = self.start_in(letter.upper() + ":\\", SaveZoomedImage=ZOOMED)
            for name in ("shot", "shot.png"):
                save(app, name, replacing=True)
                self.assertEqual(("Scopella", ["Failed to write the image to the file specified."]),
                                 message_box(self.probe, app.hwnd))
            self.assertEqual(["shot.bmp", "shot.png"], sorted(n for n in os.listdir(folder) if n != "filler"))
            self.assertEqual([b"earlier"] * 2, [read_file(folder + "/shot." + e) for e in ("bmp", "png")])
            self.assertEqual(0, app.close())

    def test_nothing_to_capture_shows_4005(self):
        app, view = self.start_in(windows_path(self.workdir) + "\\", SaveZoomedImage=ZOOMED)
        # A window too low for its bars has no view: nothing to capture.
        left, top, right, bottom = app.info()["rect"]
        self.probe("setpos", app.hwnd, left, top, right - left, bottom - top - view.height - 10)
        wait_until(lambda: view.refresh() or view.height < 0, 10, what="the view gone")
        save(app, "none")
        self.assertEqual(("Scopella", ["Failed to properly capture the screen image."]),
                         message_box(self.probe, app.hwnd))
        self.assertEqual([], os.listdir(self.workdir))
        self.assertEqual(0, app.close())


class SixteenBitScreen(ViewTestCase):
    """A display of its own at depth 16, with a light Wine prefix of its own
    (registry copied, drive C shared): Wine takes the depth from its first display."""

    @classmethod
    def setUpClass(cls):
        cls.saved = {k: os.environ[k] for k in ("DISPLAY", "WINEPREFIX")}
        read, write = os.pipe()
        cls.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "640x480x16", "-nolisten",
                                     "tcp", "-noreset"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as numbers:
            display = ":" + numbers.readline().strip()
        cls.prefix = tempfile.mkdtemp(prefix="scopella-depth16-")
        for name in glob.glob(PREFIX + "/*.reg") + [PREFIX + "/.update-timestamp"]:
            shutil.copy(name, cls.prefix)
        os.makedirs(cls.prefix + "/dosdevices")
        os.symlink(PREFIX + "/drive_c", cls.prefix + "/dosdevices/c:")
        os.symlink("/", cls.prefix + "/dosdevices/z:")
        os.environ.update(DISPLAY=display, WINEPREFIX=cls.prefix)
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        try:
            super().tearDownClass()
        finally:
            subprocess.run(["wineserver", "-k"], timeout=30)
            subprocess.run(["wineserver", "-w"], timeout=30)
            os.environ.update(cls.saved)
            cls.xvfb.kill()
            cls.xvfb.wait(timeout=10)
            shutil.rmtree(cls.prefix, ignore_errors=True)

    def test_unscaled_save_has_16_bit_rows_of_the_screen_pixels(self):
        app, view = self.start(4, (200, 150), window=(300, 220, 630, 470),
                               InitialDirectory=windows_path(self.workdir) + "\\")
        first = view.first_shown((200, 150))
        source = self.screen.grab(first[0], first[1], view.cols, view.rows)
        save(app, "shot")
        path = os.path.join(self.workdir, "shot.bmp")
        fields, rows = parse_bmp(wait_until(lambda: os.path.exists(path) and read_file(path), 10, what=path))
        # 5-5-5 in the file, 5-6-5 on the screen.
        self.assertEqual((expected_fields(view, 16), [[(r >> 3, g >> 3, b >> 3) for r, g, b in row] for row in source]),
                         (fields, rows))
        magick = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, timeout=30)
        self.assertEqual("%d %d" % (view.cols, view.rows), magick.stdout)
        self.assertEqual(0, app.close())


class SelectionMenu(OverlayTestCase):
    def test_copies_of_a_thirty_by_fifteen_selection_at_zoom_three(self):
        app, view = self.start(3, (300, 200))
        first = view.first_shown((300, 200))
        source = self.screen.grab(first[0] + 1, first[1] + 1, 10, 5)  # cells (1, 1) to (11, 6)
        corner = (view.client[0], view.client[1] + view.top)
        data = b""
        for command, scale in ((4018, 1), (4021, 3)):
            self.press(3, corner[0] + 3, corner[1] + 3, until=lambda: self.probe.windows(MARQUEE), after_menu=True)
            self.drag_to(corner[0] + 33, corner[1] + 18, until=lambda: self.tip_text() == "Selected size 10x5")
            xdotool("mouseup", 3)
            self.choose(self.open_menu()[1], command)
            data = wait_until(lambda: (lambda d: d != data and d)(clipboard("image/bmp")), 20, what="a new bitmap")
            self.assertEqual([[p for p in row for _ in range(scale)] for row in source for _ in range(scale)],
                             parse_bmp(data)[1])
            assert_png_beside(self, parse_bmp(data)[1])
        self.assertEqual(0, app.close())

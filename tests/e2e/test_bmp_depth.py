"""BMP files saved on a 16-bit screen: a virtual display of its own at that
depth, with a Wine prefix of its own (Wine takes the screen depth from its
first display, so the shared prefix cannot serve a second one). The shared
24-bit display gives 32-bit files (test_imaging); Xvfb has no 24-bit pixel
layout, so 24-bit files are checked in-process (imaging_test.cpp)."""
import glob
import os
import shutil
import subprocess
import tempfile

from harness import PREFIX, windows_path
from imaging_support import SaveDialog, parse_bmp, wait_file
from viewshot import ViewTestCase


class SixteenBitScreen(ViewTestCase):
    @classmethod
    def setUpClass(cls):
        cls.saved_env = {k: os.environ.get(k) for k in ("DISPLAY", "WINEPREFIX")}
        read, write = os.pipe()
        cls.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "640x480x16", "-nolisten",
                                     "tcp", "-noreset"], pass_fds=(write,), stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as numbers:
            number = numbers.readline().strip()
        # A light prefix: the test prefix's registry, its drive C shared.
        cls.prefix = tempfile.mkdtemp(prefix="scopella-depth16-")
        for name in glob.glob(os.path.join(PREFIX, "*.reg")) + [os.path.join(PREFIX, ".update-timestamp")]:
            shutil.copy(name, cls.prefix)
        os.makedirs(os.path.join(cls.prefix, "dosdevices"))
        os.symlink(os.path.join(PREFIX, "drive_c"), os.path.join(cls.prefix, "dosdevices", "c:"))
        os.symlink("/", os.path.join(cls.prefix, "dosdevices", "z:"))
        os.environ.update(DISPLAY=":" + number, WINEPREFIX=cls.prefix)
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        try:
            super().tearDownClass()
        finally:
            subprocess.run(["wineserver", "-k"], timeout=30)
            subprocess.run(["wineserver", "-w"], timeout=30)
            for key, value in cls.saved_env.items():
                os.environ[key] = value
            cls.xvfb.kill()
            cls.xvfb.wait(timeout=10)
            shutil.rmtree(cls.prefix, ignore_errors=True)

    def test_unscaled_save_has_16_bit_rows_of_the_screen_pixels(self):
        app, view = self.start(4, (200, 150), window=(300, 220, 630, 470),
                               InitialDirectory=windows_path(self.workdir) + "\\")
        first = view.first_shown((200, 150))
        source = self.screen.grab(first[0], first[1], view.cols, view.rows)
        SaveDialog(app).save("shot")
        fields, rows = parse_bmp(wait_file(os.path.join(self.workdir, "shot.bmp")))
        stride = (view.cols * 16 + 31) // 32 * 4
        self.assertEqual(dict(type=b"BM", size=54 + stride * view.rows, reserved1=0, reserved2=0, offbits=54,
                              bisize=40, width=view.cols, height=view.rows, planes=1, bits=16, compression=0,
                              sizeimage=stride * view.rows, xppm=0, yppm=0, clrused=0, clrimportant=0), fields)
        # 5-5-5 in the file, 5-6-5 on the screen.
        self.assertEqual([[(r >> 3, g >> 3, b >> 3) for r, g, b in row] for row in source], rows)
        magick = subprocess.run(["identify", "-format", "%w %h", os.path.join(self.workdir, "shot.bmp")],
                                capture_output=True, text=True, timeout=30, check=True).stdout
        self.assertEqual("%d %d" % (view.cols, view.rows), magick)
        self.assertEqual(0, app.close())

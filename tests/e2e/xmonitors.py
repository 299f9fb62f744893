"""Two real monitors for the tests: an X server (Xorg with the dummy video
driver) whose RandR outputs Wine takes for monitors, started and stopped by a
test module, its layout changed with xrandr while it runs, and a Wine prefix
of its own with its own wine server on that display.

Wine puts the primary monitor's top-left at (0, 0): an output left of or above
it lies at negative Windows coordinates. The X screen's (0, 0) is the top-left
of the monitors' bounding rectangle, Windows' virtual screen."""
import os
import select
import subprocess
import unittest

from harness import end_process, wait_until
from xscreen import Screen, pattern_colour

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
XORG = "/usr/lib/xorg/Xorg"
CONFIG = os.path.join(HERE, "two-monitors.conf")
MODE = "1280x1024_60"

# Layouts: xrandr arguments and the virtual screen Wine then reports
# (left, top, width, height).
SIDE_BY_SIDE = (["--output", "DUMMY0", "--mode", MODE, "--pos", "1280x0", "--primary",
                 "--output", "DUMMY1", "--mode", MODE, "--pos", "0x0"], (-1280, 0, 2560, 1024))
# A larger primary lower down: the left monitor reaches above it.
TALL_LEFT = (["--output", "DUMMY0", "--mode", "1920x1080", "--pos", "1280x200", "--primary",
              "--output", "DUMMY1", "--mode", MODE, "--pos", "0x0"], (-1280, -200, 3200, 1280))
PRIMARY_ONLY = (["--output", "DUMMY0", "--mode", MODE, "--pos", "0x0", "--primary",
                 "--output", "DUMMY1", "--off"], (0, 0, 1280, 1024))


class Xorg:
    """The X server of a test module; skips the module where it cannot start
    (it needs the console, so as a rule root)."""

    def __init__(self, workdir):
        if not os.path.exists(XORG) or not os.path.exists("/usr/lib/xorg/modules/drivers/dummy_drv.so"):
            raise unittest.SkipTest("two monitors need Xorg with the dummy driver "
                                    "(xserver-xorg-core, xserver-xorg-video-dummy)")
        self.log = os.path.join(workdir, "xorg.log")
        read, write = os.pipe()
        self.process = subprocess.Popen(
            [XORG, "-displayfd", str(write), "-config", CONFIG, "-logfile", self.log,
             "-nolisten", "tcp", "-noreset", "-novtswitch", "-sharevts"],
            pass_fds=(write,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        try:
            while not number.endswith(b"\n") and select.select([read], [], [], 30)[0]:
                chunk = os.read(read, 16)
                if not chunk:
                    break
                number += chunk
        finally:
            os.close(read)
        if not number.strip().isdigit():
            self.stop()
            reason = "no log"
            if os.path.exists(self.log):
                with open(self.log, errors="replace") as f:
                    lines = f.read().splitlines()
                # The line after "Fatal server error:" says why.
                fatal = [i for i, line in enumerate(lines) if line.startswith("Fatal server error")]
                if fatal and len(lines) > fatal[0] + 1:
                    reason = lines[fatal[0] + 1].split("]", 1)[-1].replace("(EE)", "").strip()
            raise unittest.SkipTest("two monitors: Xorg could not start here (as a rule it needs root): %s" % reason)
        self.display = ":" + number.decode().strip()

    def xrandr(self, arguments):
        subprocess.run(["xrandr", "--display", self.display] + arguments, check=True, timeout=30,
                       capture_output=True)

    def stop(self):
        end_process(self.process, grace=15)


class VirtualScreen(Screen):
    """The X screen addressed in Windows screen coordinates: pixels, the test
    pattern (pattern_colour of the Windows coordinates) and the pointer."""

    def __init__(self, virtual):
        super().__init__()
        self.left, self.top = virtual[:2]
        assert (self.width, self.height) == tuple(virtual[2:]), "X screen %dx%d" % (self.width, self.height)

    def grab(self, x, y, w, h):
        return super().grab(x - self.left, y - self.top, w, h)

    def paint_root(self, colour_of=pattern_colour):
        super().paint_root(lambda x, y: colour_of(x + self.left, y + self.top))

    def x(self, x, y):
        """The X coordinates of a Windows screen point."""
        return x - self.left, y - self.top


class MonitorPrefix:
    """The Wine prefix of the two-monitor tests, beside the test prefix, and a
    wine server kept alive in it while the module runs. Its desktop process
    belongs to the display it first starts on, so it is never shared with the
    single-screen tests."""

    def __init__(self, display):
        self.saved = {name: os.environ.get(name) for name in ("WINEPREFIX", "DISPLAY")}
        self.path = os.environ["WINEPREFIX"].rstrip("/") + "-two-monitors"
        os.environ.update(WINEPREFIX=self.path, DISPLAY=display)
        subprocess.run([os.path.join(ROOT, "scripts", "prepare-prefix.sh"), self.path, "test"], check=True,
                       timeout=300, stdout=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-p"], check=True, timeout=30)

    def close(self):
        subprocess.run(["wineserver", "-k"], timeout=30)
        subprocess.run(["wineserver", "-w"], timeout=60)
        for name, value in self.saved.items():
            if value is None:
                os.environ.pop(name, None)
            else:
                os.environ[name] = value


def wait_virtual_screen(probe, virtual, timeout=20):
    """Waits until Wine reports the layout's virtual screen."""
    def seen():
        m = probe("metrics")
        return (m["xvirtual"], m["yvirtual"], m["cxvirtual"], m["cyvirtual"]) == tuple(virtual) and m
    return wait_until(seen, timeout, interval=0.2, what="Wine's virtual screen %s" % (virtual,))

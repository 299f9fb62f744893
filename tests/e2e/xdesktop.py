"""A real desktop on the virtual display for the tests that need one: a
window manager (openbox), a compositing manager (xcompmgr) and another
program's window, each started and stopped by the test, and window
properties as other X programs read them."""
import ctypes
import os
import subprocess

from harness import end_process, wait_until, xdotool
from xscreen import _x11

_x11.XInternAtom.restype = ctypes.c_ulong
_x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_x11.XGetSelectionOwner.restype = ctypes.c_ulong
_x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]


def prop(window, name):
    """A property of an X window (or of the root window) as xprop prints it."""
    where = ["-root"] if window == "root" else ["-id", str(window)]
    return subprocess.run(["xprop"] + where + [name], capture_output=True, text=True, timeout=10).stdout


def stacking():
    """The managed client windows, bottom to top, as the window manager lists them."""
    text = prop("root", "_NET_CLIENT_LIST_STACKING")
    return [int(w, 16) for w in text.split("#", 1)[1].replace(",", " ").split()] if "#" in text else []


class Program:
    """A desktop program run for one test, in a home folder of the test's own."""

    def __init__(self, command, home, ready, what):
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"))
        self.process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        try:
            self.ready = wait_until(lambda: ready() or self.process.poll() is not None, 15, what=what)
            if self.process.poll() is not None:
                raise AssertionError("%s ended at start with code %s" % (command[0], self.process.returncode))
        except BaseException:
            self.stop()
            raise

    def stop(self):
        end_process(self.process, grace=10)


def start_openbox(home):
    return Program(["openbox", "--sm-disable"], home, lambda: "window id" in prop("root", "_NET_SUPPORTING_WM_CHECK"),
                   "openbox to manage the screen")


def start_xcompmgr(screen, home):
    """xcompmgr -n (simple server-side compositing), once it owns the screen's
    compositing-manager selection."""
    atom = _x11.XInternAtom(screen.display, b"_NET_WM_CM_S0", 0)
    return Program(["xcompmgr", "-n"], home, lambda: _x11.XGetSelectionOwner(screen.display, atom) != 0,
                   "xcompmgr to composite the screen")


def start_solid_window(home, rect, rgb):
    """Another program's window of one colour (ImageMagick's display); its
    X window id is the result's ready value."""
    x, y, w, h = rect
    title = "solid-%d" % os.getpid()

    def window():
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], capture_output=True,
                               text=True, timeout=10).stdout.split()
        return int(found[0]) if found else None
    solid = Program(["display", "-title", title, "-geometry", "+%d+%d" % (x, y), "-size", "%dx%d" % (w, h),
                     "xc:#%02x%02x%02x" % rgb], home, window, "the other program's window")
    xdotool("windowmove", solid.ready, x, y)
    return solid

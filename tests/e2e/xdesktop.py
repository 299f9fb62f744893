"""A real desktop on the virtual display for the tests that need one: a
window manager (openbox) or a compositing manager (xcompmgr) started and
stopped by the test, window properties as other X programs read them, and a
plain X window of another program."""
import ctypes
import os
import subprocess

from harness import wait_until
from xscreen import _x11

_x11.XInternAtom.restype = ctypes.c_ulong
_x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_x11.XGetSelectionOwner.restype = ctypes.c_ulong
_x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x11.XCreateSimpleWindow.restype = ctypes.c_ulong
_x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
_x11.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
_x11.XMapRaised.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x11.XRaiseWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x11.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x11.XCreatePixmap.restype = ctypes.c_ulong
_x11.XCreateGC.restype = ctypes.c_void_p
_x11.XCreateGC.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_void_p]
_x11.XFreeGC.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
_x11.XSetForeground.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_ulong]
_x11.XFillRectangle.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint]
_x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                 ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
_x11.XDeleteProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]

XA_PIXMAP = 20
PropModeReplace = 0


def rgb_pixel(rgb):
    return (rgb[0] << 16) | (rgb[1] << 8) | rgb[2]


def prop(window, name):
    """A property of an X window (or of the root window) as xprop prints it."""
    where = ["-root"] if window == "root" else ["-id", str(window)]
    return subprocess.run(["xprop"] + where + [name], capture_output=True, text=True, timeout=10).stdout


def stacking():
    """The managed client windows, bottom to top, as the window manager lists them."""
    text = prop("root", "_NET_CLIENT_LIST_STACKING")
    return [int(w, 16) for w in text.split("#", 1)[1].replace(",", " ").split()] if "#" in text else []


class Helper:
    """A desktop program run for one test, in a home folder of the test's own."""

    def __init__(self, command, home, ready, what):
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"))
        self.process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        try:
            wait_until(lambda: ready() or self.process.poll() is not None, 15, what=what)
            if self.process.poll() is not None:
                raise AssertionError("%s ended at start with code %s" % (command[0], self.process.returncode))
        except BaseException:
            self.stop()
            raise

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)


def start_openbox(home):
    return Helper(["openbox", "--sm-disable"], home, lambda: "window id" in prop("root", "_NET_SUPPORTING_WM_CHECK"),
                  "openbox to manage the screen")


def start_xcompmgr(screen, home):
    """xcompmgr -n (simple server-side compositing) owning the screen's
    compositing-manager selection."""
    atom = _x11.XInternAtom(screen.display, b"_NET_WM_CM_S0", 0)
    return Helper(["xcompmgr", "-n"], home, lambda: _x11.XGetSelectionOwner(screen.display, atom) != 0,
                  "xcompmgr to composite the screen")


class PlainWindow:
    """A plain X window of another program, one solid colour."""

    def __init__(self, screen, rect, rgb, title=b"plain X window"):
        self.screen = screen
        x, y, w, h = rect
        self.xid = _x11.XCreateSimpleWindow(screen.display, screen.root, x, y, w, h, 0, 0, rgb_pixel(rgb))
        _x11.XStoreName(screen.display, self.xid, title)
        _x11.XMapRaised(screen.display, self.xid)
        _x11.XSync(screen.display, 0)

    def raise_(self):
        _x11.XRaiseWindow(self.screen.display, self.xid)
        _x11.XSync(self.screen.display, 0)

    def destroy(self):
        _x11.XDestroyWindow(self.screen.display, self.xid)
        _x11.XSync(self.screen.display, 0)


class RootPixmap:
    """A solid background announced as the desktop's (_XROOTPMAP_ID), which a
    compositing manager draws beneath every window."""

    def __init__(self, screen, rgb):
        self.screen = screen
        d = screen.display
        self.atom = _x11.XInternAtom(d, b"_XROOTPMAP_ID", 0)
        self.pixmap = _x11.XCreatePixmap(d, screen.root, screen.width, screen.height,
                                         _x11.XDefaultDepth(d, screen.screen))
        gc = _x11.XCreateGC(d, self.pixmap, 0, None)
        _x11.XSetForeground(d, gc, rgb_pixel(rgb))
        _x11.XFillRectangle(d, self.pixmap, gc, 0, 0, screen.width, screen.height)
        _x11.XFreeGC(d, gc)
        value = ctypes.c_ulong(self.pixmap)
        _x11.XChangeProperty(d, screen.root, self.atom, XA_PIXMAP, 32, PropModeReplace, ctypes.byref(value), 1)
        _x11.XSync(d, 0)

    def remove(self):
        _x11.XDeleteProperty(self.screen.display, self.screen.root, self.atom)
        _x11.XFreePixmap(self.screen.display, self.pixmap)
        _x11.XSync(self.screen.display, 0)

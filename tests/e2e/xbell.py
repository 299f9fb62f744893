"""The X server's bell (XKB bell notifications, through ctypes): what a person
hears when a program beeps. Wine rings it for MessageBeep."""
import ctypes
import ctypes.util
import os

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XPending.argtypes = [ctypes.c_void_p]
_x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XkbQueryExtension.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_int)] * 5
_x11.XkbSelectEvents.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]

_XKB_USE_CORE_KBD = 0x100
_XKB_BELL_NOTIFY, _XKB_BELL_NOTIFY_MASK = 8, 1 << 8
# XkbAnyEvent: type, serial, send_event, display, time, then xkb_type.
_XKB_TYPE_OFFSET = 4 * ctypes.sizeof(ctypes.c_long) + ctypes.sizeof(ctypes.c_void_p)


class BellWatcher:
    """Counts the bells rung from its creation on."""

    def __init__(self):
        self.display = _x11.XOpenDisplay(os.environ.get("DISPLAY", "").encode() or None)
        if not self.display:
            raise RuntimeError("cannot open the X display")
        opcode, event, error = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        major, minor = ctypes.c_int(1), ctypes.c_int(0)
        if not _x11.XkbQueryExtension(self.display, ctypes.byref(opcode), ctypes.byref(event), ctypes.byref(error),
                                      ctypes.byref(major), ctypes.byref(minor)):
            raise RuntimeError("no XKB extension")
        self.event_type = event.value
        _x11.XkbSelectEvents(self.display, _XKB_USE_CORE_KBD, _XKB_BELL_NOTIFY_MASK, _XKB_BELL_NOTIFY_MASK)
        _x11.XSync(self.display, 0)
        self.rung = 0

    def count(self):
        """Bells rung so far."""
        _x11.XSync(self.display, 0)
        event = ctypes.create_string_buffer(256)
        while _x11.XPending(self.display):
            _x11.XNextEvent(self.display, event)
            kind = ctypes.c_int.from_buffer(event).value
            xkb_type = ctypes.c_int.from_buffer(event, _XKB_TYPE_OFFSET).value
            if kind == self.event_type and xkb_type == _XKB_BELL_NOTIFY:
                self.rung += 1
        return self.rung

    def close(self):
        if self.display:
            _x11.XCloseDisplay(self.display)
            self.display = None

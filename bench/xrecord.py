"""Counts the screen reads and image transfers each X client asks the server
for, through the X server's RECORD extension (libXtst, ctypes): a magnifier
reads the screen once per frame, so the busiest reader's count of reads
larger than one pixel is the frame count; one-pixel reads are the colour
readouts."""
import ctypes
import ctypes.util
import os
import threading

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")

X_GetImage = 73
X_ShmPutImage, X_ShmGetImage = 3, 4
XRecordFromClient = 1
XRecordAllClients = 3


class _Range8(ctypes.Structure):
    _fields_ = [("first", ctypes.c_ubyte), ("last", ctypes.c_ubyte)]


class _Range16(ctypes.Structure):
    _fields_ = [("first", ctypes.c_ushort), ("last", ctypes.c_ushort)]


class _ExtRange(ctypes.Structure):
    _fields_ = [("ext_major", _Range8), ("ext_minor", _Range16)]


class _Range(ctypes.Structure):
    _fields_ = [("core_requests", _Range8), ("core_replies", _Range8), ("ext_requests", _ExtRange),
                ("ext_replies", _ExtRange), ("delivered_events", _Range8), ("device_events", _Range8),
                ("errors", _Range8), ("client_started", ctypes.c_int), ("client_died", ctypes.c_int)]


class _Intercept(ctypes.Structure):
    _fields_ = [("id_base", ctypes.c_ulong), ("server_time", ctypes.c_ulong), ("client_seq", ctypes.c_ulong),
                ("category", ctypes.c_int), ("client_swapped", ctypes.c_int),
                ("data", ctypes.POINTER(ctypes.c_ubyte)), ("data_len", ctypes.c_ulong)]


_Callback = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.POINTER(_Intercept))

_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
_x11.XQueryExtension.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.POINTER(ctypes.c_int),
                                 ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
_xtst.XRecordAllocRange.restype = ctypes.POINTER(_Range)
_xtst.XRecordCreateContext.restype = ctypes.c_ulong
_xtst.XRecordCreateContext.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.POINTER(ctypes.c_ulong), ctypes.c_int,
                                       ctypes.POINTER(ctypes.POINTER(_Range)), ctypes.c_int]
_xtst.XRecordEnableContextAsync.argtypes = [ctypes.c_void_p, ctypes.c_ulong, _Callback, ctypes.c_void_p]
_xtst.XRecordProcessReplies.argtypes = [ctypes.c_void_p]
_xtst.XRecordDisableContext.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_xtst.XRecordFreeContext.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_xtst.XRecordFreeData.argtypes = [ctypes.POINTER(_Intercept)]


class RequestCounter:
    """Counts, per client, screen reads (GetImage, ShmGetImage) and shared
    memory image transfers (ShmPutImage) between start() and stop()."""

    def __init__(self):
        name = os.environ.get("DISPLAY", "").encode() or None
        self.control = _x11.XOpenDisplay(name)
        self.data = _x11.XOpenDisplay(name)
        if not self.control or not self.data:
            raise RuntimeError("cannot open the X display")
        major, event, error = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        self.shm = major.value if _x11.XQueryExtension(self.control, b"MIT-SHM", ctypes.byref(major),
                                                       ctypes.byref(event), ctypes.byref(error)) else -1
        self.reads, self.pixels, self.puts = {}, {}, {}
        self.callback = _Callback(self._intercepted)
        self.running = False

    def _intercepted(self, _closure, data):
        d = data.contents
        if d.category == XRecordFromClient and d.data_len > 0:
            op = d.data[0]
            if op == X_GetImage or (op == self.shm and d.data[1] == X_ShmGetImage):
                # Both requests hold the width and the height at bytes 12 to 15.
                width, height = d.data[12] | d.data[13] << 8, d.data[14] | d.data[15] << 8
                counts = self.reads if width * height > 1 else self.pixels
                counts[d.id_base] = counts.get(d.id_base, 0) + 1
            elif op == self.shm and d.data[1] == X_ShmPutImage:
                self.puts[d.id_base] = self.puts.get(d.id_base, 0) + 1
        _xtst.XRecordFreeData(data)

    def start(self):
        self.reads, self.pixels, self.puts = {}, {}, {}
        ranges = [_xtst.XRecordAllocRange()]
        ranges[0].contents.core_requests = _Range8(X_GetImage, X_GetImage)
        if self.shm > 0:
            ranges.append(_xtst.XRecordAllocRange())
            ranges[1].contents.ext_requests = _ExtRange(_Range8(self.shm, self.shm),
                                                        _Range16(X_ShmPutImage, X_ShmGetImage))
        clients = ctypes.c_ulong(XRecordAllClients)
        array = (ctypes.POINTER(_Range) * len(ranges))(*ranges)
        self.context = _xtst.XRecordCreateContext(self.control, 0, ctypes.byref(clients), 1, array, len(ranges))
        _x11.XSync(self.control, 0)
        if not _xtst.XRecordEnableContextAsync(self.data, self.context, self.callback, None):
            raise RuntimeError("the X server has no RECORD extension")
        self.running = True
        self.thread = threading.Thread(target=self._pump, daemon=True)
        self.thread.start()

    def _pump(self):
        import select
        fd = _x11.XConnectionNumber(self.data)
        while self.running:
            select.select([fd], [], [], 0.05)
            _xtst.XRecordProcessReplies(self.data)

    def stop(self):
        """(frames, one-pixel reads, image transfers) of the busiest screen
        reader since start()."""
        self.running = False
        self.thread.join()
        _xtst.XRecordDisableContext(self.control, self.context)
        _x11.XSync(self.control, 0)
        _xtst.XRecordProcessReplies(self.data)
        _xtst.XRecordFreeContext(self.control, self.context)
        readers = set(self.reads) | set(self.pixels)
        if not readers:
            return 0, 0, 0
        client = max(readers, key=lambda c: (self.reads.get(c, 0), self.pixels.get(c, 0)))
        return self.reads.get(client, 0), self.pixels.get(client, 0), self.puts.get(client, 0)

    def close(self):
        _x11.XCloseDisplay(self.data)
        _x11.XCloseDisplay(self.control)

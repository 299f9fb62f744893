"""The X screen as a person sees it, through Xlib (ctypes, no extra packages):
reading pixels and painting a known pattern on the root window."""
import ctypes
import ctypes.util
import os

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XDefaultScreen.argtypes = [ctypes.c_void_p]
_x11.XRootWindow.restype = ctypes.c_ulong
_x11.XRootWindow.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XDefaultDepth.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XDefaultVisual.restype = ctypes.c_void_p
_x11.XDefaultVisual.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XDefaultGC.restype = ctypes.c_void_p
_x11.XDefaultGC.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XGetImage.restype = ctypes.POINTER(_XImage)
_x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XFree.argtypes = [ctypes.c_void_p]
_x11.XCreatePixmap.restype = ctypes.c_ulong
_x11.XCreatePixmap.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint, ctypes.c_uint]
_x11.XFreePixmap.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x11.XCreateImage.restype = ctypes.POINTER(_XImage)
_x11.XCreateImage.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_int,
                              ctypes.c_char_p, ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_int]
_x11.XPutImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.POINTER(_XImage),
                           ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint]
_x11.XSetWindowBackgroundPixmap.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]
_x11.XSetWindowBackground.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]
_x11.XClearWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XFlush.argtypes = [ctypes.c_void_p]

ZPixmap = 2
AllPlanes = 0xFFFFFFFF


def pattern_colour(x, y):
    """The colour the test pattern gives screen pixel (x, y): every pixel of a
    4096 x 4096 screen differs from every other."""
    return (x & 0xFF, y & 0xFF, ((x >> 8) & 0x0F) | (((y >> 8) & 0x0F) << 4))


class Screen:
    def __init__(self):
        self.display = _x11.XOpenDisplay(os.environ.get("DISPLAY", "").encode() or None)
        if not self.display:
            raise RuntimeError("cannot open the X display")
        self.screen = _x11.XDefaultScreen(self.display)
        self.root = _x11.XRootWindow(self.display, self.screen)
        self.width = _x11.XDisplayWidth(self.display, self.screen)
        self.height = _x11.XDisplayHeight(self.display, self.screen)

    def close(self):
        if self.display:
            _x11.XCloseDisplay(self.display)
            self.display = None

    def grab(self, x, y, w, h):
        """Rows of (r, g, b) tuples of a screen rectangle, as the X server shows it."""
        _x11.XSync(self.display, 0)
        image = _x11.XGetImage(self.display, self.root, x, y, w, h, AllPlanes, ZPixmap)
        if not image:
            raise RuntimeError("XGetImage failed")
        try:
            img = image.contents
            if img.bits_per_pixel not in (16, 32):
                raise RuntimeError("tests expect a 24-bit (or 16-bit) screen")
            stride, bits = img.bytes_per_line, img.bits_per_pixel
            raw = ctypes.string_at(img.data, stride * h)
        finally:
            _destroy_image(image)
        if bits == 16:
            return [[_from_565(raw[row * stride + 2 * i] | raw[row * stride + 2 * i + 1] << 8) for i in range(w)]
                    for row in range(h)]
        rows = []
        for row in range(h):
            line = raw[row * stride: row * stride + 4 * w]
            rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, 4 * w, 4)])
        return rows

    def pixel(self, x, y):
        return self.grab(x, y, 1, 1)[0][0]

    def paint_root(self, colour_of=pattern_colour):
        """Makes colour_of(x, y) the root window's background: every part of the
        screen that no window covers shows it, and keeps showing it."""
        w, h = self.width, self.height
        if _x11.XDefaultDepth(self.display, self.screen) == 16:
            data = bytearray(2 * w * h)
            for y in range(h):
                for x in range(w):
                    r, g, b = colour_of(x, y)
                    value = (r >> 3) << 11 | (g >> 2) << 5 | b >> 3
                    data[2 * (w * y + x)] = value & 0xFF
                    data[2 * (w * y + x) + 1] = value >> 8
            self._set_background(bytes(data), w, h, 16)
            return
        data = bytearray(4 * w * h)
        for y in range(h):
            base = 4 * w * y
            for x in range(w):
                r, g, b = colour_of(x, y)
                data[base + 4 * x] = b
                data[base + 4 * x + 1] = g
                data[base + 4 * x + 2] = r
        self._set_background(bytes(data), w, h)

    def fill_root(self, rgb):
        r, g, b = rgb
        _x11.XSetWindowBackground(self.display, self.root, (r << 16) | (g << 8) | b)
        _x11.XClearWindow(self.display, self.root)
        _x11.XSync(self.display, 0)

    def _set_background(self, data, w, h, bits=32):
        depth = _x11.XDefaultDepth(self.display, self.screen)
        pixmap = _x11.XCreatePixmap(self.display, self.root, w, h, depth)
        buffer = ctypes.create_string_buffer(data, len(data))
        image = _x11.XCreateImage(self.display, _x11.XDefaultVisual(self.display, self.screen), depth, ZPixmap,
                                  0, ctypes.cast(buffer, ctypes.c_char_p), w, h, bits, bits // 8 * w)
        _x11.XPutImage(self.display, pixmap, _x11.XDefaultGC(self.display, self.screen), image, 0, 0, 0, 0, w, h)
        # The data belongs to Python; detach it before the image is freed.
        image.contents.data = ctypes.POINTER(ctypes.c_ubyte)()
        _destroy_image(image)
        _x11.XSetWindowBackgroundPixmap(self.display, self.root, pixmap)
        _x11.XFreePixmap(self.display, pixmap)
        _x11.XClearWindow(self.display, self.root)
        _x11.XSync(self.display, 0)


def _from_565(value):
    """A 16-bit screen pixel as 8-bit components, widened as the X server does."""
    r, g, b = value >> 11, (value >> 5) & 0x3F, value & 0x1F
    return (r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2)


def _destroy_image(image):
    # XDestroyImage is a macro calling the image's destroy function; XFree of
    # the data and the structure does the same for images we own.
    img = image.contents
    if img.data:
        _x11.XFree(ctypes.cast(img.data, ctypes.c_void_p))
    _x11.XFree(ctypes.cast(image, ctypes.c_void_p))

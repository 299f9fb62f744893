"""Helpers of the image-output tests: the clipboard as an X program reads it,
BMP files taken apart, and the Save As dialog driven with real keys."""
import os
import struct
import subprocess

from harness import WM_COMMAND, wait_until, xdotool
from chrome_support import click
from viewshot import pattern_point
from xscreen import pattern_colour

BM_GETCHECK = 0x00F0
IDOK = 1
BMP_FIELDS = ("type", "size", "reserved1", "reserved2", "offbits", "bisize", "width", "height", "planes", "bits",
              "compression", "sizeimage", "xppm", "yppm", "clrused", "clrimportant")


def clipboard(target):
    """The clipboard in one of the forms Wine offers X programs (b"" when not offered)."""
    try:
        out = subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"], capture_output=True, timeout=5)
    except subprocess.TimeoutExpired:  # the owner did not answer in time: ask again
        return b""
    return out.stdout if out.returncode == 0 else b""


def parse_bmp(data):
    """The header fields of a BMP file and its pixel rows, top row first, as
    (r, g, b); 16-bit pixels as their 5-bit components."""
    fields = dict(zip(BMP_FIELDS, struct.unpack_from("<2sIHHIIiiHHIIiiII", data, 0)))
    w, h, bits = fields["width"], fields["height"], fields["bits"]
    stride = (w * bits + 31) // 32 * 4
    rows = []
    for y in range(abs(h)):
        line = data[fields["offbits"] + y * stride:]
        if bits == 16:
            values = [line[2 * x] | line[2 * x + 1] << 8 for x in range(w)]
            rows.append([(v >> 10 & 31, v >> 5 & 31, v & 31) for v in values])
        else:
            step = bits // 8
            rows.append([(line[step * x + 2], line[step * x + 1], line[step * x]) for x in range(w)])
    if h > 0:
        rows.reverse()
    return fields, rows


def stretch_errors(test, rows, first, cols, count_rows):
    """Checks a zoomed picture of the screen pattern: each picture column
    (row) shows one source column (row), in order, each source column at
    least once, close to the proportional place (the stretch onto a size
    that is no whole multiple); every pixel is the pattern of its cell."""
    width, height = len(rows[0]), len(rows)
    x_of = [pattern_point(rows[0][x])[0] - first[0] for x in range(width)]
    y_of = [pattern_point(rows[y][0])[1] - first[1] for y in range(height)]
    for places, count, size in ((x_of, cols, width), (y_of, count_rows, height)):
        test.assertEqual(list(range(count)), sorted(set(places)))
        test.assertEqual(places, sorted(places))
        test.assertTrue(all(abs(p - i * count / size) <= 1 for i, p in enumerate(places)))
    wrong = [(x, y) for y in range(height) for x in range(width)
             if rows[y][x] != pattern_colour(first[0] + x_of[x], first[1] + y_of[y])]
    test.assertEqual([], wrong[:5])


def owned_dialogs(probe, owner):
    """The visible dialogs (message boxes included) the window owns."""
    found = []
    for hwnd in probe.windows("#32770"):
        try:
            info = probe.info(hwnd)
        except AssertionError:  # gone meanwhile
            continue
        if info["owner"] == owner and info["visible"]:
            found.append(hwnd)
    return found


class SaveDialog:
    """The Save As dialog of one running Scopella, as a person uses it."""

    def __init__(self, app):
        self.app, self.probe = app, app.probe

    def dialogs(self, owner):
        return owned_dialogs(self.probe, owner)

    def open(self, keys="ctrl+s"):
        if keys:
            # Back from a dialog, the window is active again before keys reach it.
            wait_until(lambda: self.app.info()["foreground"], 10, what="Scopella active")
            self.app.key(keys)
        self.hwnd = wait_until(lambda: (self.dialogs(self.app.hwnd) or [None])[0], 15, what="the Save As dialog")
        self.focus()
        return self

    def focus(self):
        xid = xdotool("search", "--onlyvisible", "--name", "^%s$" % self.probe.info(self.hwnd)["title"]).split()
        xdotool("windowfocus", "--sync", xid[-1])

    def check_box(self):
        return next(c for c in self.probe.children(self.hwnd) if c["id"] == 1002)

    def checked(self):
        return self.probe.send(self.check_box()["hwnd"], BM_GETCHECK) == 1

    def toggle(self):
        before = self.checked()
        r = self.check_box()["rect"]
        click(r[0] + 5, (r[1] + r[3]) // 2)
        wait_until(lambda: self.checked() != before, 5, what="the check box toggled")

    def type_name(self, name):
        xdotool("type", "--delay", 30, name)

    def finish(self, key="Return"):
        xdotool("key", key)
        wait_until(lambda: self.hwnd not in self.dialogs(self.app.hwnd), 15, what="the dialog closed")

    def save(self, name, toggle=False, replacing=False):
        """Saves under a name; when it replaces a file, answers the question
        that asks first with Return (Yes)."""
        self.open()
        self.type_name(name)
        if toggle:
            self.toggle()
        if replacing:
            xdotool("key", "Return")
            wait_until(lambda: self.dialogs(self.hwnd), 10, what="the replace question")
        self.finish()


def file_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def wait_file(path, timeout=15):
    return wait_until(lambda: os.path.exists(path) and file_bytes(path), timeout, what=path)


def message_box(probe, owner, timeout=15):
    """Text and caption of the message box owned by the window; closes it with OK."""
    box = wait_until(lambda: (owned_dialogs(probe, owner) or [None])[0], timeout, what="a message box")
    texts = [probe("gettext", c["hwnd"])["text"] for c in probe.children(box) if c["class"] == "Static"]
    caption = probe.info(box)["title"]
    probe.post(box, WM_COMMAND, IDOK)
    wait_until(lambda: box not in probe.windows("#32770"), 10, what="the message box closed")
    return caption, [t for t in texts if t]


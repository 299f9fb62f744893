"""Helpers of the dialog tests: finding a dialog of the running Scopella,
reading its controls as another program can, and typing into it with real
keys."""
import subprocess

from chrome_support import click
from harness import WM_SYSCOMMAND, wait_until, xdotool

SC_CLOSE = 0xF060
BM_GETCHECK = 0x00F0
HKM_GETHOTKEY = 0x0402


def key(*keys):
    for k in keys:
        xdotool("key", "--clearmodifiers", k)


def type_text(text):
    if text:
        xdotool("type", "--delay", "20", "--", text)


class Dialog:
    """A visible dialog window of the given title, owned by `owner`."""

    def __init__(self, probe, title, owner, timeout=10):
        self.probe = probe

        def find():
            for hwnd in probe.windows("#32770"):
                try:
                    info = probe.info(hwnd)
                except AssertionError:  # another dialog, gone meanwhile
                    continue
                # Keys go to it only once it is in the foreground.
                if info["visible"] and info["foreground"] and info["title"] == title and info["owner"] == owner:
                    return hwnd
            return None
        self.hwnd = wait_until(find, timeout, what="the %r dialog" % title)

    def info(self):
        return self.probe.info(self.hwnd)

    def is_open(self):
        try:
            return self.probe.info(self.hwnd)["visible"]
        except AssertionError:  # no such window any more
            return False

    def wait_closed(self, owner=None, timeout=10):
        """Waits until the dialog is gone and, given its owner (the app or a
        dialog), the owner active again."""
        wait_until(lambda: not self.is_open(), timeout, what="the dialog closed")
        if owner is not None:
            wait_until(lambda: owner.info()["foreground"], 5, what="the owner active again")

    def controls(self):
        """The children in their (tab) order, with their texts."""
        children = self.probe.children(self.hwnd)
        for c in children:
            c["text"] = self.probe("gettext", c["hwnd"])["text"]
        return children

    def control(self, id_):
        return next(c["hwnd"] for c in self.probe.children(self.hwnd) if c["id"] == id_)

    def text(self, id_):
        return self.probe("gettext", self.control(id_))["text"]

    def checked(self, id_):
        return self.probe.send(self.control(id_), BM_GETCHECK) == 1

    def hotkey(self, id_):
        return self.probe.send(self.control(id_), HKM_GETHOTKEY)

    def focus(self):
        return self.info()["focus"]

    def centre(self, id_):
        r = self.probe.info(self.control(id_))["rect"]
        return (r[0] + r[2]) // 2, (r[1] + r[3]) // 2


def close_box(app):
    """Closes the app with its close box (after a dialog the X focus is not
    to be relied on for keys to the main window); returns its exit code."""
    app.probe.post(app.hwnd, WM_SYSCOMMAND, SC_CLOSE)
    return app.wait_exit()


def system_command(app, command):
    """Chooses an item of the app's system menu."""
    app.probe.post(app.hwnd, WM_SYSCOMMAND, command)


def message_box(probe, owner, timeout=10):
    """(caption, text) of the message box `owner` shows."""
    box = Dialog(probe, "Scopella", owner, timeout)
    texts = [c["text"] for c in box.controls() if c["class"] == "Static" and c["text"]]
    return box, texts


def dialog_units(probe, face="MS Sans Serif", points=8):
    """A function that turns a rectangle in dialog units (x, y, width,
    height) into pixels (left, top, right, bottom) for the font."""
    base = probe("dlgbase", points, face)

    def pixels(x, y, width, height):
        def scale(v, b, d):
            return (v * b + d // 2) // d  # the platform's MulDiv rounds
        left, top = scale(x, base["x"], 4), scale(y, base["y"], 8)
        return [left, top, left + scale(width, base["x"], 4), top + scale(height, base["y"], 8)]
    return pixels


def dialogs(probe, owner):
    """Visible dialogs and message boxes the window owns."""
    found = []
    for hwnd in probe.windows("#32770"):
        try:
            info = probe.info(hwnd)
        except AssertionError:  # gone meanwhile
            continue
        found += [hwnd] if info["owner"] == owner and info["visible"] else []
    return found


def save(app, name, toggle=False, key="Return", replacing=False, png_type=False):
    """Ctrl+S, the name typed, the check box clicked, the PNG file type chosen
    with the keys, then the key (and Yes to the replace question). Gives the
    check box's state at the start."""
    probe = app.probe
    wait_until(lambda: app.info()["foreground"], 10, what="Scopella active")
    app.key("ctrl+s")
    dialog = wait_until(lambda: dialogs(probe, app.hwnd), 15, what="the Save As dialog")[0]
    xdotool("windowfocus", "--sync", xdotool("search", "--onlyvisible", "--name", "^Save As$").split()[-1])
    box = next(c for c in probe.children(dialog) if c["id"] == 1002)
    checked = lambda: probe.send(box["hwnd"], 0x00F0) == 1  # BM_GETCHECK
    was = checked()
    xdotool("type", "--delay", 30, name)
    if png_type:
        types = next(c["hwnd"] for c in probe.children(dialog) if c["id"] == 0x470)
        xdotool("key", "alt+t", "Down")
        wait_until(lambda: probe.send(types, 0x0147) == 1, 5, what="the PNG type chosen")  # CB_GETCURSEL
    if toggle:
        click(box["rect"][0] + 5, (box["rect"][1] + box["rect"][3]) // 2)
        wait_until(lambda: checked() != was, 5, what="the check box toggled")
    xdotool("key", key)
    if replacing:
        wait_until(lambda: dialogs(probe, dialog), 10, what="the replace question")
        xdotool("key", "Return")
    wait_until(lambda: dialog not in dialogs(probe, app.hwnd), 15, what="the dialog closed")
    return was

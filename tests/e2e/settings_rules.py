"""What the settings key must hold after the program wrote it: one rule per
row of the README's Settings table, so that every test that judges stored
values (the damaged-settings starts, the fuzz, the random runs) uses the
same rules, and a row added to or changed in that table without its rule
here fails the tests that call table_rows_without_rule()."""
import os
import re

from harness import REG_BINARY, REG_DWORD, REG_SZ, dword, ints

README = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "README.md")

# name: (type, size) of the 32 values, in the order the program writes them,
# then the colour inspector's six.
VALUES = {
    "Transparent": (REG_BINARY, 1), "InitialDirectory": (REG_SZ, 260), "WindowPos": (REG_BINARY, 16),
    "AlwaysOnTop": (REG_BINARY, 4), "HelpFileTime": (REG_BINARY, 8), "Update": (REG_DWORD, 4),
    "ZoomFactor": (REG_DWORD, 4), "ZoomPoint": (REG_BINARY, 8), "Emailed": (REG_DWORD, 4),
    "SaveZoomedImage": (REG_BINARY, 4), "Update1": (REG_DWORD, 4), "Update2": (REG_DWORD, 4),
    "Update3": (REG_DWORD, 4), "MouseTracking": (REG_BINARY, 1), "DisplayToolbar": (REG_BINARY, 1),
    "Visited": (REG_BINARY, 1), "DisplayStatusbar": (REG_BINARY, 1),
    "DisplayMouseWhenFollowing": (REG_BINARY, 1), "DisplayRGBColourPanel": (REG_BINARY, 1),
    "SingleInstance": (REG_BINARY, 1), "ShowGrid": (REG_BINARY, 1), "GridColor": (REG_DWORD, 4),
    "GridSize": (REG_DWORD, 4), "RelativeCoords": (REG_BINARY, 1), "nTransparency": (REG_DWORD, 4),
    "nSlowScrollRate": (REG_DWORD, 4), "nFastScrollRate": (REG_DWORD, 4), "nHotKeyColourVK": (REG_DWORD, 4),
    "nHotKeyBitmapVK": (REG_DWORD, 4), "nHotKeyColourModifiers": (REG_DWORD, 4),
    "nHotKeyBitmapModifiers": (REG_DWORD, 4), "bUseOSCursor": (REG_BINARY, 1),
    "InspectorShown": (REG_BINARY, 1), "InspectorPos": (REG_BINARY, 8), "InspectorSampleSize": (REG_DWORD, 4),
    "InspectorNotation": (REG_DWORD, 4), "InspectorPinned": (REG_DWORD, 4), "InspectorHistory": (REG_BINARY, 64),
}

FOUR_BYTE_FLAGS = ("AlwaysOnTop", "Emailed", "SaveZoomedImage")


def _within(*names, low, high):
    return lambda s: ["%s = %d" % (n, dword(s[n])) for n in names if not low <= dword(s[n]) <= high]


def _hotkeys(s):
    faults = []
    for kind in ("Colour", "Bitmap"):
        vk, modifiers = dword(s["nHotKey%sVK" % kind]), dword(s["nHotKey%sModifiers" % kind])
        cleared = vk == 0 and modifiers == 0
        if not cleared and not (1 <= vk <= 254 and 0 <= modifiers <= 15):
            faults.append("nHotKey%s = key %d, modifiers %d" % (kind, vk, modifiers))
    return faults


def _flags(s):
    return ["%s = %r" % (n, s[n]) for n, (_, size) in VALUES.items()
            if (size == 1 and s[n] not in (b"\0", b"\1")) or (n in FOUR_BYTE_FLAGS and dword(s[n]) not in (0, 1))]


def _window_pos(s):
    left, top, right, bottom = ints(s["WindowPos"])
    if (-32768 <= left <= 32767 and -32768 <= top <= 32767 and 0 < right - left <= 32767
            and 0 < bottom - top <= 32767):
        return []
    return ["WindowPos = %r" % ints(s["WindowPos"])]


def _history(s):
    colours = [c & 0xFFFFFFFF for c in ints(s["InspectorHistory"])]
    kept = [c for c in colours if c != 0xFFFFFFFF]
    if all(c <= 0xFFFFFF for c in kept) and colours[:len(kept)] == kept and len(set(kept)) == len(kept):
        return []
    return ["InspectorHistory = %s" % " ".join("%08x" % c for c in colours)]


# Keyed by the first cell of the README's Settings table, as it stands there.
RULES = {
    "`ZoomFactor`": _within("ZoomFactor", low=1, high=32),
    "`GridSize`": _within("GridSize", low=1, high=128),
    "`Update`": _within("Update", low=1, high=4),
    "`Update1`, `Update2`, `Update3`": _within("Update1", "Update2", "Update3", low=20, high=1000),
    "`nSlowScrollRate`, `nFastScrollRate`": _within("nSlowScrollRate", "nFastScrollRate", low=1, high=10000),
    "`nTransparency`": lambda s: ([] if s["nTransparency"][0] >= 10 else
                                  ["nTransparency = %d" % dword(s["nTransparency"])]),
    "`GridColor`": lambda s: [] if dword(s["GridColor"]) & 0xFFFFFFFF <= 0xFFFFFF else
    ["GridColor = %#x" % (dword(s["GridColor"]) & 0xFFFFFFFF)],
    "hotkey keys and modifiers": _hotkeys,
    "one-byte and four-byte flags": _flags,
    "`ZoomPoint`": lambda s: ([] if all(-32768 <= v <= 32767 for v in ints(s["ZoomPoint"])) else
                              ["ZoomPoint = %r" % ints(s["ZoomPoint"])]),
    "`WindowPos`": _window_pos,
    "`InitialDirectory`": lambda s: [] if b"\0" in s["InitialDirectory"] else
    ["InitialDirectory without its terminator"],
    "`InspectorSampleSize`": lambda s: ([] if dword(s["InspectorSampleSize"]) in (1, 3, 5, 7, 9) else
                                        ["InspectorSampleSize = %d" % dword(s["InspectorSampleSize"])]),
    "`InspectorNotation`": _within("InspectorNotation", low=0, high=5),
    "`InspectorPinned`": lambda s: [] if dword(s["InspectorPinned"]) & 0xFFFFFFFF <= 0xFFFFFF else
    ["InspectorPinned = %#x" % (dword(s["InspectorPinned"]) & 0xFFFFFFFF)],
    "`InspectorHistory`": _history,
    "`InspectorPos`": lambda s: ([] if all(-32768 <= v <= 32767 for v in ints(s["InspectorPos"])) else
                                 ["InspectorPos = %r" % ints(s["InspectorPos"])]),
}


def settings_faults(saved):
    """What is not sane in the settings key the program wrote, as texts."""
    if saved is None:
        return ["no settings key"]
    faults = ["%s missing, or of another type or size" % n for n, kind in VALUES.items()
              if n not in saved or (saved[n][0], len(saved[n][1])) != kind]
    if faults:
        return faults
    data = {n: value for n, (_, value) in saved.items()}
    return [fault for rule in RULES.values() for fault in rule(data)]


def table_rows_without_rule():
    """Rows of the README's Settings table that have no rule here, and rules
    whose row is gone."""
    with open(README, encoding="utf-8") as f:
        text = f.read()
    table = text.split("\n## Settings\n", 1)[1].split("\n\n| Value | Treatment |\n", 1)[1].split("\n\n", 1)[0]
    rows = {re.match(r"\| (.*?) \|", line).group(1) for line in table.splitlines()[1:]}
    return sorted(rows ^ set(RULES))

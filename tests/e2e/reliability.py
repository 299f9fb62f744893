"""Runs no person could do by hand, shared by the short versions in the tests
(test_settings_fuzz, test_monkey, test_soak) and 'make monkey' / 'make soak':
damaged settings, random real X input through XTest, and resource sampling
with a fitted growth slope.
Every run is seeded and prints its seed. The test command runs the fixed
seeds below, so that one commit always runs the same events; the long runs
(make monkey, make soak, make fuzz) draw a fresh seed (SCOPELLA_SEED=random),
and SCOPELLA_SEED=<seed> replays one."""
import os
import random
import subprocess
import sys
import time

try:
    from Xlib import X, XK, display
except ImportError:  # a python3 other than the system's: use the system's package (pure Python)
    sys.path.append("/usr/lib/python3/dist-packages")
    from Xlib import X, XK, display
from Xlib.ext import xtest

from dialog_support import save
from harness import EXE, REG_BINARY, REG_DWORD, REG_SZ, wait_until, windows_path
from settings_rules import VALUES

# The seeds of the test command's runs. A seed that once found a fault stays
# here for good, with a word on what it found.
FUZZ_SEEDS = [
    267610958,  # a cleared hotkey (key 0, no modifiers) taken for a damaged value
    20261207,
]
MONKEY_SEEDS = [1207]
SOAK_SEEDS = [510235050]


def seeds(fixed):
    """The seeds to run: the fixed ones, or the one SCOPELLA_SEED names
    ('random' draws a fresh one)."""
    chosen = os.environ.get("SCOPELLA_SEED", "")
    if chosen == "random":
        return [random.SystemRandom().randrange(1 << 31)]
    return [int(chosen)] if chosen else list(fixed)
WM_NULL, WM_CLOSE, WM_SYSCOMMAND, SC_RESTORE = 0x0000, 0x0010, 0x0112, 0xF120
MENU_CLASS, DIALOG_CLASS = "#32768", "#32770"
IDA_MAIN = 134
FSHIFT, FCONTROL, FALT = 0x04, 0x08, 0x10
VK_F4 = 0x73


def say(text):
    print(text, file=sys.stderr, flush=True)


def damage_settings(probe, rng):
    """Writes random types, sizes and bytes into a few random values, or
    removes a value or the whole key."""
    if rng.random() < 0.08:
        probe.delete_key()
        return "key removed"
    done = []
    for name in rng.sample(sorted(VALUES), rng.randint(1, 8)):
        if rng.random() < 0.1:
            probe.delete_value(name)
            done.append(name + " removed")
            continue
        type_ = rng.choice([REG_BINARY, REG_DWORD, REG_SZ, VALUES[name][0], VALUES[name][0], 0, 2, 5, 7, 11,
                            rng.randrange(0x100000000)])
        size = rng.choice([0, 1, 2, 3, 4, 5, 7, 8, 12, 15, 16, 17, 259, 260, 261, 1000, VALUES[name][1],
                           VALUES[name][1], VALUES[name][1]])
        pattern = rng.choice(["random", "zero", "ones", "edge"])
        if pattern == "random":
            data = bytes(rng.randrange(256) for _ in range(size))
        elif pattern == "edge":
            edge = rng.choice([0x80000000, 0x7FFFFFFF, 0xFFFFFFFF, 0x8000, 0x7FFF, 0xFF, 0x100, 9, 10, 33, 255])
            data = (edge.to_bytes(4, "little") * (size // 4 + 1))[:size]
        else:
            data = (b"\0" if pattern == "zero" else b"\xff") * size
        probe.set_value(name, type_, data)
        done.append("%s type %d, %d bytes" % (name, type_, size))
    return ", ".join(done)


class Keys:
    """Virtual-key codes of the program's accelerators as X key symbols."""
    NAMED = {0x08: "BackSpace", 0x09: "Tab", 0x0D: "Return", 0x1B: "Escape", 0x20: "space", 0x21: "Prior",
             0x22: "Next", 0x23: "End", 0x24: "Home", 0x25: "Left", 0x26: "Up", 0x27: "Right", 0x28: "Down",
             0x2D: "Insert", 0x2E: "Delete", 0x6A: "KP_Multiply", 0x6B: "KP_Add", 0x6D: "KP_Subtract",
             0x6F: "KP_Divide"}

    @classmethod
    def keysym(cls, vk):
        if 0x41 <= vk <= 0x5A or 0x30 <= vk <= 0x39:
            name = chr(vk).lower()
        elif 0x70 <= vk <= 0x87:
            name = "F%d" % (vk - 0x6F)
        else:
            name = cls.NAMED[vk]  # an accelerator on a key not mapped here yet: add it
        return XK.string_to_keysym(name)


class XInput:
    """Real X input through the XTest extension: faster than one xdotool
    process per event, and counted."""

    def __init__(self):
        self.display = display.Display()
        self.events = 0

    def _fake(self, kind, detail=0, **where):
        xtest.fake_input(self.display, kind, detail, **where)
        self.display.sync()
        self.events += 1

    def move(self, x, y):
        self._fake(X.MotionNotify, x=int(x), y=int(y))

    def button(self, number, down):
        self._fake(X.ButtonPress if down else X.ButtonRelease, number)

    def click(self, number):
        self.button(number, True)
        self.button(number, False)

    def key(self, name_or_keysym, down):
        keysym = XK.string_to_keysym(name_or_keysym) if isinstance(name_or_keysym, str) else name_or_keysym
        self._fake(X.KeyPress if down else X.KeyRelease, self.display.keysym_to_keycode(keysym))

    def chord(self, keysym, shift=False, control=False, alt=False):
        held = [k for k, on in (("Shift_L", shift), ("Control_L", control), ("Alt_L", alt)) if on]
        for k in held:
            self.key(k, True)
        self.key(keysym, True)
        self.key(keysym, False)
        for k in reversed(held):
            self.key(k, False)

    def close(self):
        self.display.close()


def accelerators(probe):
    """(flags, key, command) of accelerator table 134, read from the program file."""
    return [tuple(a) for a in probe("accels", windows_path(os.path.abspath(EXE)), IDA_MAIN)["accels"]]


def is_close_key(accel):
    return accel[1] == VK_F4 and accel[0] & FALT


def stand_in_browser(workdir):
    """Points Wine's web-link opener at a script that only records the
    address; returns what undoes it."""
    opener = os.path.join(workdir, "record-url.sh")
    with open(opener, "w") as f:
        f.write("#!/bin/sh\nprintf '%%s\\n' \"$@\" >> '%s'\n" % os.path.join(workdir, "opened-urls.txt"))
    os.chmod(opener, 0o755)

    def reg(*args):
        subprocess.run(["wine", "reg", args[0], r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers"] + list(args[1:]),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    reg("add", "/t", "REG_SZ", "/d", opener, "/f")
    return lambda: reg("delete", "/f")


class Watchdog:
    """Fails on a crash or an exit (the process ended) and on a hang (the main
    window does not answer a sent message within the probe's 5 s)."""

    def __init__(self, probe, app, describe):
        self.probe, self.app, self.describe = probe, app, describe

    def check(self):
        code = self.app.process.poll()
        if code is not None:
            raise AssertionError("scopella.exe ended (code %s) %s" % (code, self.describe()))
        if not self.probe("send", self.app.hwnd, WM_NULL, 0, 0)["ok"]:
            raise AssertionError("scopella.exe stopped answering %s" % self.describe())


class Monkey:
    """Random real input over the window and its pop-ups: moves, clicks and
    drags of the three buttons, the wheel with and without modifiers, every
    accelerator but Alt+F4, a few plain keys; menus and dialogs that appear are
    answered with Escape (and closed if that does not do it)."""

    PLAIN_KEYS = ["Left", "Right", "Up", "Down", "Prior", "Next", "Escape", "F1", "KP_Add", "KP_Subtract"]

    def __init__(self, probe, app, seed):
        self.probe, self.app, self.rng = probe, app, random.Random(seed)
        self.seed = seed
        self.input = XInput()
        self.accels = [a for a in accelerators(probe) if not is_close_key(a)]
        self.pid = app.info()["pid"]
        self.popups_seen = {}
        self.watchdog = Watchdog(probe, app, lambda: "after %d events (seed %d)" % (self.input.events, seed))

    def popups(self):
        """Menus and dialogs of the program's process now on screen."""
        found = []
        for cls in (MENU_CLASS, DIALOG_CLASS):
            for hwnd in self.probe.windows(cls):
                try:
                    info = self.probe("info", hwnd)
                except AssertionError:
                    continue  # closed in the meantime
                if info["visible"] and info["pid"] == self.pid:
                    found.append(info)
        return found

    def target(self, popups):
        """A point over the view window's client area or one of its pop-ups."""
        rects = [p["rect"] for p in popups if p["class"] == MENU_CLASS] or [self.app.info()["client"]]
        left, top, right, bottom = self.rng.choice(rects)
        return self.rng.randint(left, max(left, right - 1)), self.rng.randint(top, max(top, bottom - 1))

    def answer(self, popups):
        """Escape for a pop-up seen for a while; one that stays is closed."""
        now = time.monotonic()
        live = {p["hwnd"] for p in popups}
        self.popups_seen = {h: t for h, t in self.popups_seen.items() if h in live}
        for p in popups:
            since = self.popups_seen.setdefault(p["hwnd"], now)
            if p["class"] == DIALOG_CLASS or now - since > 1.0:
                self.input.chord("Escape")
            if now - since > 5.0:
                self.probe.post(p["hwnd"], WM_CLOSE)

    def step(self, popups):
        r, rng, inp = self.rng.random(), self.rng, self.input
        if r < 0.3:
            inp.move(*self.target(popups))
        elif r < 0.5:
            inp.move(*self.target(popups))
            inp.click(rng.choice([1, 1, 2, 3]))
        elif r < 0.62:
            button = rng.choice([1, 2, 3])
            inp.move(*self.target(popups))
            inp.button(button, True)
            for _ in range(rng.randint(1, 6)):
                inp.move(*self.target(popups))
            inp.button(button, False)
        elif r < 0.74:
            inp.move(*self.target(popups))
            held = rng.choice([(), ("Control_L",), ("Shift_L",), ("Control_L", "Shift_L")])
            for k in held:
                inp.key(k, True)
            inp.click(rng.choice([4, 5]))
            for k in reversed(held):
                inp.key(k, False)
        elif r < 0.9 and self.accels:
            self.accelerator(rng.choice(self.accels))
        else:
            inp.chord(rng.choice(self.PLAIN_KEYS), control=rng.random() < 0.3)

    def accelerator(self, accel):
        flags, vk, _ = accel
        self.input.chord(Keys.keysym(vk), bool(flags & FSHIFT), bool(flags & FCONTROL), bool(flags & FALT))

    def keep_reachable(self):
        info = self.app.info()
        if info["iconic"]:
            self.probe.post(self.app.hwnd, WM_SYSCOMMAND, SC_RESTORE)
        elif not info["foreground"]:
            subprocess.run(["xdotool", "windowfocus", str(self.app.x_window())], timeout=10,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def run(self, events):
        say("monkey: seed %d, %d events" % (self.seed, events))
        self.app.focus()
        popups = []
        # Every accelerator once, in a random order, then the random steps.
        pending = self.rng.sample(self.accels, len(self.accels))
        while self.input.events < events:
            before = self.input.events
            if pending and not popups:
                self.accelerator(pending.pop())
            else:
                self.step(popups)
            time.sleep(0.003 * (self.input.events - before))
            if self.input.events // 40 != before // 40:
                self.watchdog.check()
                popups = self.popups()
                self.answer(popups)
                if not popups:
                    self.keep_reachable()
        wait_until(lambda: not self.answer(self.popups()) and not self.popups(), 20, what="every pop-up closed")
        self.watchdog.check()
        # The last random events may have minimised the window: a person
        # restores it before Alt+F4.
        self.keep_reachable()
        wait_until(lambda: not self.app.info()["iconic"], 10, what="the window restored")
        self.app.focus()
        self.input.chord(Keys.keysym(VK_F4), alt=True)
        code = self.app.wait_exit(20)
        self.input.close()
        return code


def fitted_slope(samples):
    """Least-squares slope (units per second) of (time, value) pairs and its standard error."""
    n = len(samples)
    mean_t = sum(t for t, _ in samples) / n
    mean_v = sum(v for _, v in samples) / n
    stt = sum((t - mean_t) ** 2 for t, _ in samples)
    slope = sum((t - mean_t) * (v - mean_v) for t, v in samples) / stt
    residual = sum((v - mean_v - slope * (t - mean_t)) ** 2 for t, v in samples)
    return slope, (residual / max(1, n - 2) / stt) ** 0.5


# Growth a leak would show and normal use does not: per hour, and at least
# this much over the measured part of the run (a short run's few steps of the
# heap are no trend).
GROWTH_LIMITS = {"gdi": (50, 10), "user": (50, 10), "windows": (20, 3), "handles": (50, 10),
                 "private": (16 << 20, 2 << 20)}


def growth_faults(series, seconds):
    """Metrics whose fitted slope after the warm-up (the first fifth of the run)
    is clearly above zero and past its limits; and the figures of every metric."""
    faults, figures = [], {}
    for name, samples in series.items():
        tail = [(t, v) for t, v in samples if t >= seconds / 5]
        slope, error = fitted_slope(tail)
        figures[name] = (samples[0][1], samples[-1][1], slope * 3600)
        per_hour, least = GROWTH_LIMITS[name]
        if slope - 3 * error > 0 and slope * 3600 > per_hour and slope * (tail[-1][0] - tail[0][0]) > least:
            faults.append("%s grows by %.0f an hour (from %d to %d)" % (name, slope * 3600, samples[0][1],
                                                                       samples[-1][1]))
    return faults, figures


class Soak:
    """Fast rate, follow mode and grid on; the pointer moving, a selection
    marquee and the highlight frame in turns, a copy every few seconds and a
    save through the Save As dialog every few more (four names in turn, so
    most saves replace a file); GDI, USER, handle and memory figures sampled
    all along."""

    def __init__(self, probe, app, seed, folder):
        self.probe, self.app, self.rng, self.seed = probe, app, random.Random(seed), seed
        self.folder, self.saves, self.wine_mru = folder, 0, 0
        # Every save replaces a file, so the replace question's first showing
        # falls in the warm-up.
        for n in range(4):
            with open(os.path.join(folder, "soak-%d.bmp" % n), "wb") as f:
                f.write(b"earlier")
        self.input = XInput()
        self.pid = app.info()["pid"]
        self.watchdog = Watchdog(probe, app, lambda: "in the soak (seed %d)" % seed)

    def usage(self):
        """The figures to watch. Wine 8 answers GetGuiResources,
        GetProcessHandleCount and the private bytes of another process with 0
        (todo_wine): there the probe counts the process's GDI handle table and
        the system's handle list, and the Unix process's anonymous memory
        stands in for its private bytes."""
        u = self.probe("usage", self.pid)
        with open("/proc/%d/status" % self.app.process.pid) as status:
            anon = next(int(line.split()[1]) * 1024 for line in status if line.startswith("RssAnon:"))
        # Wine 8's file dialog leaves its LastVisitedMRU key open after every
        # OK, one handle a save (todo_wine: comdlg32's, not the program's):
        # those keys are counted apart.
        self.wine_mru = u["handlenames"].count("ComDlg32/LastVisitedMRU")
        return {"gdi": u["gdi"] or u["gditable"], "user": u["user"], "windows": u["windows"],
                "handles": u["handles"] or u["systemhandles"] - self.wine_mru, "private": u["private"] or anon}

    def save(self):
        """One save of the view; the file must then hold a bitmap newer than the last."""
        name = "soak-%d" % (self.saves % 4)
        path = os.path.join(self.folder, name + ".bmp")
        before = os.stat(path).st_mtime_ns
        save(self.app, name, replacing=True)

        def saved():
            if os.stat(path).st_mtime_ns == before:
                return False
            with open(path, "rb") as f:
                return f.read(2) == b"BM"
        wait_until(saved, 15, what="%s saved" % path)
        self.saves += 1

    def run(self, seconds, every=5.0):
        say("soak: seed %d, %d s, a sample every %.0f s" % (self.seed, seconds, every))
        self.app.focus()
        series = {}
        start = time.monotonic()
        next_sample = next_copy = start
        next_save = start + 7.5
        phase = 0
        while True:
            now = time.monotonic() - start
            if now >= next_sample - start:
                self.watchdog.check()
                for name, value in self.usage().items():
                    series.setdefault(name, []).append((now, value))
                if os.environ.get("SCOPELLA_SOAK_TRACE"):
                    say("soak: %6.0f s %s" % (now, " ".join("%s=%d" % (n, v[-1][1]) for n, v in series.items())))
                next_sample += every
            if now >= seconds:
                break
            client = self.app.info()["client"]
            turn = int(now // 10) % 3
            if turn != phase:
                phase = turn
                self.input.chord("Escape")
                if phase == 1:  # a selection: its marquee animates until Escape
                    self.input.move(client[0] + 20, client[1] + 60)
                    self.input.button(3, True)
                    self.input.move(client[0] + 120, client[1] + 120)
                    self.input.button(3, False)
                    self.input.chord("Escape")  # the selection menu
                elif phase == 2:
                    self.input.chord("h", control=True)  # the highlight frame
            x = self.rng.randint(0, self.input.display.screen().width_in_pixels - 1)
            y = self.rng.randint(0, self.input.display.screen().height_in_pixels - 1)
            self.input.move(x, y)
            if time.monotonic() >= next_copy:
                self.input.chord("c", control=True)
                next_copy += 3.0
            if time.monotonic() >= next_save:
                self.save()
                next_save += 15.0
            time.sleep(0.05)
        self.input.close()
        say("soak: %d saves; Wine's file dialog left %d keys open" % (self.saves, self.wine_mru))
        faults, figures = growth_faults(series, seconds)
        for name, (first, last, per_hour) in figures.items():
            say("soak: %-8s %12d -> %12d, fitted %+.1f an hour" % (name, first, last, per_hour))
        return faults, figures

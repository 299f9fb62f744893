"""End-to-end test harness: starts the real scopella.exe under Wine in the
virtual display, drives it with real X input (xdotool) and observes it from
outside: windows and control texts through the probe program, the registry,
and the pixels of the X screen.

Every wait has a timeout; every process a test starts is ended by the test.
"""
import json
import os
import select
import shutil
import subprocess
import tempfile
import time
import unittest

from xscreen import Screen

EXE = os.environ.get("SCOPELLA_EXE", "")
TOOLS = os.environ.get("SCOPELLA_TOOLS", "")
PREFIX = os.environ.get("WINEPREFIX", "")

REG_SZ, REG_BINARY, REG_DWORD = 1, 3, 4
MAIN_CLASS = "ScopellaMainWnd"

# Window messages and command ids the tests send or read.
WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
WM_SYSCOMMAND = 0x0112
SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE = 0xF020, 0xF030, 0xF120


def check_environment():
    """Refuses to run anywhere but in the project's own test prefix."""
    home_prefix = os.path.join(os.path.expanduser("~"), ".wine")
    if not PREFIX or os.path.realpath(PREFIX) == os.path.realpath(home_prefix):
        raise unittest.SkipTest("run through 'make test': WINEPREFIX must be the test prefix")
    if not os.environ.get("DISPLAY"):
        raise unittest.SkipTest("no DISPLAY: run through 'make test'")
    if not os.path.exists(EXE):
        raise unittest.SkipTest("scopella.exe not built")


class Timeout(AssertionError):
    pass


def end_process(process, grace=10):
    """Ends a helper process: asks it to end, and kills it after `grace` seconds."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(timeout=10)


def wait_until(predicate, timeout=10.0, interval=0.05, what="condition"):
    """Polls predicate until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout("timed out after %.1f s waiting for %s (last: %r)" % (timeout, what, value))
        time.sleep(interval)


class Probe:
    """The probe program in server mode: one command, one JSON line."""

    def __init__(self):
        self.process = subprocess.Popen(
            ["wine", os.path.join(TOOLS, "probe.exe"), "--serve"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            bufsize=0)

    def __call__(self, *words, timeout=15.0):
        line = " ".join(str(w) for w in words) + "\n"
        self.process.stdin.write(line.encode())
        answer = b""
        deadline = time.monotonic() + timeout
        while not answer.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0:
                raise Timeout("probe did not answer: %s" % line.strip())
            ready, _, _ = select.select([self.process.stdout], [], [], left)
            if ready:
                chunk = os.read(self.process.stdout.fileno(), 1 << 20)
                if not chunk:
                    raise AssertionError("probe ended while answering: %s" % line.strip())
                answer += chunk
        result = json.loads(answer.decode("latin-1"))
        if isinstance(result, dict) and "error" in result:
            raise AssertionError("probe: %s (%s)" % (result["error"], line.strip()))
        return result

    def close(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.write(b"quit\n")
                self.process.wait(timeout=5)
            except (OSError, subprocess.TimeoutExpired):
                self.process.kill()
                self.process.wait(timeout=5)

    # --- windows ---------------------------------------------------------
    def windows(self, cls=MAIN_CLASS):
        return self("find", cls)["hwnds"]

    def info(self, hwnd):
        return self("info", hwnd)

    def children(self, hwnd):
        return self("children", hwnd)["children"]

    def send(self, hwnd, message, wparam=0, lparam=0):
        return self("send", hwnd, message, wparam, lparam)["result"]

    def post(self, hwnd, message, wparam=0, lparam=0):
        return self("post", hwnd, message, wparam, lparam)["ok"]

    # --- registry --------------------------------------------------------
    def registry(self):
        """{name: (type, bytes)} of the settings key, or None without a key."""
        dump = self("regdump")
        if not dump["exists"]:
            return None
        return {name: (v["type"], bytes.fromhex(v["hex"])) for name, v in dump["values"].items()}

    def set_value(self, name, type_, data):
        self("regset", name, type_, data.hex())

    def set_dword(self, name, value):
        self.set_value(name, REG_DWORD, (value & 0xFFFFFFFF).to_bytes(4, "little"))

    def delete_value(self, name):
        self("regdel", name)

    def delete_key(self):
        self("regdelkey")


HELP_CONTEXT, HELP_QUIT = 1, 2


def windows_path(unix_path):
    """The name Wine gives a Unix path: drive Z: is the Unix root."""
    return "Z:" + unix_path.replace("/", "\\")


class HelpRecorder:
    """tests/tools/help_recorder.exe in place of the help viewer. Wine's
    WinHelpA hands each request as WM_COPYDATA to a window of class
    "MS_WINHELP"; the recorder owns one and logs every request. (The test
    prefix disables winhlp32.exe, so without the recorder help shows nothing
    and nothing waits.) Help goes to the viewer only with a help file beside
    the executable: one lies there while the recorder runs."""

    def __init__(self, probe, log):
        self.probe = probe
        self.log = log
        self.process = subprocess.Popen(["wine", os.path.join(TOOLS, "help_recorder.exe"), windows_path(log)],
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = wait_until(lambda: (probe.windows("MS_WINHELP") or [None])[0], 15,
                                 what="the help recorder's window")
        self.help_file = os.path.join(os.path.dirname(os.path.abspath(EXE)), "Scopella.hlp")
        with open(self.help_file, "wb") as f:
            f.write(b"help")

    def requests(self):
        """(command, data, help file) of every request so far."""
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="latin-1") as f:
            return [(int(c), int(d), path) for c, d, path in (line.rstrip("\n").split(" ", 2) for line in f)]

    def stop(self):
        """Asks the recorder to end, and ends it if it does not."""
        self.probe.post(self.window, WM_CLOSE)
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(timeout=10)
        if os.path.exists(self.help_file):
            os.remove(self.help_file)


class WithHelpRecorder:
    """Mixin for a test case: a help recorder runs through every test."""

    def setUp(self):
        super().setUp()
        self.recorder = HelpRecorder(self.probe, os.path.join(self.workdir, "help.log"))

    def tearDown(self):
        self.recorder.stop()
        super().tearDown()


def dword(data):
    return int.from_bytes(data[:4], "little", signed=True)


def ints(data):
    return [int.from_bytes(data[i:i + 4], "little", signed=True) for i in range(0, len(data), 4)]


class Scopella:
    """One running scopella.exe."""

    def __init__(self, probe, cwd=None, command=None):
        self.probe = probe
        self.cwd = cwd or tempfile.gettempdir()
        self.command = command or ["wine", EXE]
        self.process = None
        self.hwnd = None

    def start(self, wait=True, timeout=20.0):
        self.before = set(self.probe.windows())
        # What Wine or the program says on standard error, for a start that fails.
        self.errors = tempfile.TemporaryFile()
        self.process = subprocess.Popen(self.command, cwd=self.cwd, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=self.errors)
        if wait:
            self.wait_window(timeout)
        return self

    def wait_window(self, timeout=20.0):
        """Waits for a visible main window that was not there before the start."""
        def new_window():
            for hwnd in self.probe.windows():
                if hwnd not in self.before and self.probe.info(hwnd)["visible"]:
                    return hwnd
            if self.process.poll() is not None:
                self.errors.seek(0)
                said = self.errors.read().decode("utf-8", "replace").strip()
                raise AssertionError("scopella.exe ended early with code %s%s" % (
                    self.process.returncode, "; it said: " + said[-2000:] if said else ""))
            return None
        self.hwnd = wait_until(new_window, timeout, what="the Scopella window")
        self.wait_settled()
        return self.hwnd

    def wait_settled(self, quiet=0.25, timeout=5.0):
        """Waits until the tool band keeps its height: each layout gives the
        rebar the program's band height, and the rebar then sizes itself back
        to its own, so right after the window appears it may still change."""
        def band_height():
            rects = [c["rect"] for c in self.probe.children(self.hwnd) if c["class"] == "ReBarWindow32"]
            return rects[0][3] - rects[0][1] if rects else None
        last, since = band_height(), time.monotonic()
        deadline = since + timeout
        while time.monotonic() - since < quiet:
            if time.monotonic() > deadline:
                raise Timeout("the tool band did not settle")
            time.sleep(0.05)
            now = band_height()
            if now != last:
                last, since = now, time.monotonic()

    def info(self):
        return self.probe.info(self.hwnd)

    def focus(self):
        """Gives the window the keyboard focus through the X server, as a
        click would, once it is the active window. (Without a window manager
        Wine activates no window for an X focus change: a test that needs
        this to activate Scopella must click it, and say why.)"""
        xid = self.x_window()
        subprocess.run(["xdotool", "windowfocus", "--sync", str(xid)], timeout=10, check=True)
        wait_until(lambda: self.info()["foreground"], 5, what="Scopella in the foreground")

    def x_window(self):
        rect = self.info()["rect"]
        # X counts from the virtual screen's top-left, Windows from the primary monitor's.
        metrics = self.probe("metrics")
        rect = [rect[0] - metrics["xvirtual"], rect[1] - metrics["yvirtual"]]
        # Right after a dialog closes the search has at times found nothing.
        out = wait_until(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Scopella$"],
                                                capture_output=True, text=True, timeout=10).stdout.split(), 5,
                         what="Scopella's X window")
        for xid in out:
            geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", xid],
                                      capture_output=True, text=True, timeout=10).stdout
            values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
            if int(values.get("X", -99999)) == rect[0] and int(values.get("Y", -99999)) == rect[1]:
                return int(xid)
        return int(out[0])

    def key(self, *keys):
        self.focus()
        for k in keys:
            subprocess.run(["xdotool", "key", "--clearmodifiers", k], timeout=10, check=True)

    def wait_exit(self, timeout=15.0):
        code = self.process.wait(timeout=timeout)
        self.errors.close()
        return code

    def close(self, timeout=15.0):
        """Closes the window as a person would, with Alt+F4, and waits for the exit."""
        self.key("alt+F4")
        return self.wait_exit(timeout)

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        if self.process:
            self.errors.close()

    def status_bar(self):
        return next(c["hwnd"] for c in self.probe.children(self.hwnd) if c["class"] == "msctls_statusbar32")

    def status_text(self, pane):
        return self.probe("sbtext", self.status_bar(), pane)


def xdotool(*args, timeout=10):
    return subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True,
                          timeout=timeout, check=True).stdout


class ScopellaTestCase(unittest.TestCase):
    """Base of the end-to-end tests: a probe for the module, a fresh settings
    key for every test, and no Scopella process left behind."""

    probe = None

    @classmethod
    def setUpClass(cls):
        check_environment()
        cls.probe = Probe()
        cls.screen = Screen()

    @classmethod
    def tearDownClass(cls):
        if cls.probe:
            cls.probe.close()
        cls.screen.close()

    def setUp(self):
        self.started = []
        self.workdir = tempfile.mkdtemp(prefix="scopella-e2e-")
        self.end_strays()
        self.probe.delete_key()

    def tearDown(self):
        for app in self.started:
            app.kill()
        self.end_strays()
        shutil.rmtree(self.workdir, ignore_errors=True)

    def end_strays(self):
        """Closes any Scopella window still open (from a failed test)."""
        for hwnd in self.probe.windows():
            self.probe.post(hwnd, WM_CLOSE)
        wait_until(lambda: not self.probe.windows(), 10, what="no Scopella window")

    def launch(self, wait=True, cwd=None, command=None):
        app = Scopella(self.probe, cwd or self.workdir, command)
        self.started.append(app)
        return app.start(wait=wait)

    def write_settings(self, **values):
        """Writes settings by name: ints as REG_DWORD, bytes as REG_BINARY."""
        for name, value in values.items():
            if isinstance(value, bytes):
                self.probe.set_value(name, REG_BINARY, value)
            elif isinstance(value, str):
                self.probe.set_value(name, REG_SZ, value.encode("latin-1") + b"\0")
            else:
                self.probe.set_dword(name, value)

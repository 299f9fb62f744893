"""What a user pays for a running Scopella: the CPU of every process of its
Wine prefix (scopella.exe, the wineserver, Wine's services and drivers) and
of the X server, per second of wall time and per frame, at each update rate,
idle (mouse still, follow mode off) and in follow mode with the mouse moving;
and the time from the start to a painted window, cold (no wineserver
running) and warm. Frames are counted at the X server (RECORD): the screen
reads of the busiest client, beside its one-pixel reads (the colour readout). Prints tables; not a test. Runs inside the
display and Wine prefix that scripts/bench.sh sets up.
Also the time the Linux install's copy commands take, and the CPU while the
overlays animate (bench/overlay_cpu.py).
    python3 bench/cpu_bench.py [seconds per run] [start-ups per kind] [--overlays: only those rows]
The colour inspector's cost has a script of its own, bench/inspector_cpu.py."""
import contextlib
import math
import os
import statistics
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from harness import EXE, MAIN_CLASS, Probe, WM_CLOSE, wait_until  # noqa: E402
from xrecord import RequestCounter  # noqa: E402
from xscreen import Screen, _x11, pattern_colour  # noqa: E402

import ctypes  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from overlay_cpu import print_overlay_rows  # noqa: E402

TICK = os.sysconf("SC_CLK_TCK")
RATES = {1: "None", 2: "Slow", 3: "Medium", 4: "Fast"}
PREFIX = os.environ["WINEPREFIX"]
WINDOW = (1000, 600, 1450, 850)

_x11.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_int]


def cpu_seconds(pid):
    """User and system time of a process, all its threads, in seconds."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def prefix_processes(exclude=()):
    """{pid: kind} of every process running in the bench prefix: scopella.exe,
    the wineserver, or one of Wine's own (services, drivers, desktop)."""
    found = {}
    for entry in filter(str.isdigit, os.listdir("/proc")):
        pid = int(entry)
        if pid in exclude:
            continue
        try:
            with open("/proc/%d/environ" % pid, "rb") as f:
                if ("WINEPREFIX=" + PREFIX).encode() not in f.read().split(b"\0"):
                    continue
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                command = f.read().lower()
        except OSError:
            continue
        found[pid] = "app" if b"scopella" in command else "server" if b"wineserver" in command else "wine"
    return found


def find_process(name):
    """Pid of the prefix's process whose command line names the program."""
    return next((pid for pid, kind in prefix_processes().items() if kind == "app"), None)


def snapshot(pids):
    times = {}
    for pid in pids:
        try:
            times[pid] = cpu_seconds(pid)
        except OSError:
            pass
    return times


def warp(screen, x, y):
    _x11.XWarpPointer(screen.display, 0, screen.root, 0, 0, 0, 0, x, y)
    _x11.XFlush(screen.display)


class MouseMover(threading.Thread):
    """Moves the X pointer 20 times a second along a circle, away from the
    window, as a hand would."""

    def __init__(self):
        super().__init__(daemon=True)
        self.screen = Screen()
        self.running = True

    def run(self):
        step = 0
        while self.running:
            warp(self.screen, int(400 + 150 * math.cos(step / 10)), int(300 + 150 * math.sin(step / 10)))
            step += 1
            time.sleep(0.05)
        self.screen.close()


def write_case(probe, rate, follow):
    probe.delete_key()
    probe.set_value("WindowPos", 3, b"".join(v.to_bytes(4, "little", signed=True) for v in WINDOW))
    probe.set_dword("Update", rate)
    probe.set_dword("ZoomFactor", 3)
    probe.set_value("MouseTracking", 3, b"\x01" if follow else b"\x00")


@contextlib.contextmanager
def running_scopella(probe, moving):
    """Scopella started with the case's settings, past its start-up, the
    pointer moving if asked: gives its window, and closes it at the end (or
    ends it, when the case failed)."""
    process = subprocess.Popen(["wine", EXE], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    mover = MouseMover() if moving else None
    try:
        hwnd = wait_until(lambda: (probe.windows(MAIN_CLASS) or [None])[0], 30, what="the window")
        time.sleep(1.5)  # start-up work is not counted
        if mover:
            mover.start()
        yield hwnd
        if mover:
            mover.running = False
            mover.join()
        probe.post(hwnd, WM_CLOSE)
        process.wait(timeout=15)
    finally:
        if mover:
            mover.running = False
        if process.poll() is None:
            process.kill()
            process.wait(timeout=10)


def run_case(probe, screen, counter, rate, follow, seconds):
    write_case(probe, rate, follow)
    warp(screen, 550, 300)
    with running_scopella(probe, follow):
        xvfb = int(os.environ["SCOPELLA_XVFB_PID"])
        kinds = prefix_processes(exclude={probe.process.pid})
        counter.start()
        start, before, x0 = time.monotonic(), snapshot(kinds), cpu_seconds(xvfb)
        time.sleep(seconds)
        wall, after, x1 = time.monotonic() - start, snapshot(kinds), cpu_seconds(xvfb)
        frames, pixels, _ = counter.stop()
    used = {"app": 0.0, "server": 0.0, "wine": 0.0}
    for pid, t in after.items():
        used[kinds[pid]] += t - before.get(pid, t)
    used["x"] = x1 - x0
    return {k: 100 * v / wall for k, v in used.items()}, frames / wall, pixels / wall


def painted(screen, rect):
    """Caption, view and status bar of the window at rect drawn: none of the
    three shows the desktop's pattern beneath."""
    left, top, right, bottom = rect
    points = [((left + right) // 2, top + 10), ((left + right) // 2, (top + bottom) // 2),
              ((left + right) // 2, bottom - 8)]
    return all(screen.pixel(x, y) != pattern_colour(x, y) for x, y in points)


def startup_time(screen, cold):
    """Seconds from the start of wine to a painted Scopella window."""
    if cold:
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], stderr=subprocess.DEVNULL)
    start = time.monotonic()
    process = subprocess.Popen(["wine", EXE], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        wait_until(lambda: painted(screen, WINDOW), 60, interval=0.005, what="the painted window")
        elapsed = time.monotonic() - start
        window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Scopella$"],
                                capture_output=True, text=True, timeout=10).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "--clearmodifiers", "alt+F4"],
                       timeout=10)
        process.wait(timeout=15)
        return elapsed
    finally:
        if process.poll() is None:
            process.kill()
            process.wait(timeout=10)


def startup_rows(screen, starts):
    """Start-up times, cold then warm; returns the probe for the rows after."""
    # Start-up first: the cold runs end every Wine process of the prefix.
    probe = Probe()
    write_case(probe, 3, False)
    probe.close()
    cold = [startup_time(screen, True) for _ in range(starts)]
    subprocess.run(["wineserver", "-p"])
    probe = Probe()
    probe("cursor")  # Wine's desktop process runs from here on, as it does for a user
    warm = [startup_time(screen, False) for _ in range(starts)]
    print("Start-up to a painted window, s (median of %d; %s)" % (starts, "450x250, zoom 3, rate Medium"))
    print("  cold (no wineserver running)  %6.2f   (%s)" % (statistics.median(cold),
                                                             " ".join("%.2f" % t for t in cold)))
    print("  warm (wineserver running)     %6.2f   (%s)" % (statistics.median(warm),
                                                             " ".join("%.2f" % t for t in warm)))
    print()
    return probe


def copy_command_rows(probe, screen, runs):
    """The Linux install's `scopella --copy-colour` and `--copy-view`: the
    helper they start with wine, against a running Scopella, to its exit (the
    copy on the clipboard); and without one."""
    helper = os.path.join(os.path.dirname(EXE), "scopella-hotkey.exe")
    command = lambda option: subprocess.run(["wine", helper, option], stdin=subprocess.DEVNULL,
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def timed(option, code):
        times = []
        for _ in range(runs):
            start = time.monotonic()
            if command(option).returncode != code:
                raise AssertionError("scopella-hotkey.exe %s did not exit with %d" % (option, code))
            times.append(time.monotonic() - start)
        return times
    write_case(probe, 3, False)
    process = subprocess.Popen(["wine", EXE], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        wait_until(lambda: painted(screen, WINDOW), 60, what="the painted window")
        rows = [(option, timed(option, 0)) for option in ("--copy-colour", "--copy-view")]
        for hwnd in probe.windows(MAIN_CLASS):
            probe.post(hwnd, WM_CLOSE)
        process.wait(timeout=15)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait(timeout=10)
    rows.append(("not running (exit code 1)", timed("--copy-view", 1)))
    print("Copy commands of the Linux install (scopella --copy-...), s from start to exit (median of %d; "
          "450x250, zoom 3, wineserver running)" % runs)
    for name, times in rows:
        print("  %-28s %6.2f   (%s)" % (name, statistics.median(times), " ".join("%.2f" % t for t in times)))
    print()


def cpu_rows(probe, screen, counter, seconds):
    """The CPU table: every rate, idle and in follow mode."""
    print("CPU, %% of one core, per second of wall time (450x250 window, zoom 3, %.0f s each);" % seconds)
    print("prefix = every process of Scopella's Wine prefix; ms/frame = (prefix + X server) per frame")
    print("%-7s %-15s %8s %8s %9s %8s %8s %8s %8s %8s %9s" % (
        "rate", "mode", "frames/s", "pixels/s", "scopella", "server", "wine", "prefix", "Xvfb", "total",
        "ms/frame"))
    for follow in (False, True):
        for rate in RATES:
            cpu, fps, pixels = run_case(probe, screen, counter, rate, follow, seconds)
            prefix = cpu["app"] + cpu["server"] + cpu["wine"]
            total = prefix + cpu["x"]
            per_frame = "%9.2f" % (10 * total / fps) if fps >= 0.5 else "%9s" % "-"
            mode = "follow, moving" if follow else "idle, still"
            print("%-7s %-15s %8.1f %8.1f %8.2f%% %7.2f%% %7.2f%% %7.2f%% %7.2f%% %7.2f%% %s" % (
                RATES[rate], mode, fps, pixels, cpu["app"], cpu["server"], cpu["wine"], prefix, cpu["x"], total,
                per_frame))
            sys.stdout.flush()


def main():
    words = [a for a in sys.argv[1:] if not a.startswith("--")]
    seconds = float(words[0]) if words else 5.0
    starts = int(words[1]) if len(words) > 1 else 5
    only_overlays = "--overlays" in sys.argv
    screen = Screen()
    screen.paint_root()
    counter = RequestCounter()

    probe = Probe() if only_overlays else startup_rows(screen, starts)
    try:
        if not only_overlays:
            copy_command_rows(probe, screen, starts)
            cpu_rows(probe, screen, counter, seconds)
        print_overlay_rows(probe, seconds, cpu_seconds, find_process, int(os.environ["SCOPELLA_XVFB_PID"]))
    finally:
        probe.delete_key()
        probe.close()
        counter.close()
        screen.close()


if __name__ == "__main__":
    main()

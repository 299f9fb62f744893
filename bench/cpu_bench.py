"""CPU used by a running scopella.exe, per second of wall time, at each update
rate, with the mouse still and with the mouse moving in follow mode, and
while the overlays animate (bench/overlay_cpu.py). Also the
X server's share, which draws what the program hands it. Prints a table; not
a test. Runs inside the display and Wine prefix that scripts/bench.sh sets up.
    python3 bench/cpu_bench.py [seconds per run]"""
import ctypes
import os
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from harness import EXE, MAIN_CLASS, Probe, WM_CLOSE, wait_until  # noqa: E402
from xscreen import Screen, _x11  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from overlay_cpu import print_overlay_rows  # noqa: E402

TICK = os.sysconf("SC_CLK_TCK")
RATES = {1: "None", 2: "Slow", 3: "Medium", 4: "Fast"}

_x11.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_int]


def cpu_seconds(pid):
    """User and system time of a process, all its threads, in seconds."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def find_process(name):
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    if name.encode() in f.read():
                        return int(entry)
            except OSError:
                pass
    return None


class MouseMover(threading.Thread):
    """Moves the X pointer 50 times a second along a circle, away from the
    window, as a hand would."""

    def __init__(self, screen):
        super().__init__(daemon=True)
        self.screen = screen
        self.running = True

    def run(self):
        import math
        step = 0
        while self.running:
            x = int(400 + 150 * math.cos(step / 10))
            y = int(300 + 150 * math.sin(step / 10))
            _x11.XWarpPointer(self.screen.display, 0, self.screen.root, 0, 0, 0, 0, x, y)
            _x11.XFlush(self.screen.display)
            step += 1
            time.sleep(0.02)


def run_case(probe, screen, rate, moving, seconds):
    probe.delete_key()
    rect = b"".join(v.to_bytes(4, "little", signed=True) for v in (1000, 600, 1450, 850))
    probe.set_value("WindowPos", 3, rect)
    probe.set_dword("Update", rate)
    probe.set_dword("ZoomFactor", 3)
    probe.set_value("MouseTracking", 3, b"\x01")
    _x11.XWarpPointer(screen.display, 0, screen.root, 0, 0, 0, 0, 550, 300)
    _x11.XFlush(screen.display)
    process = subprocess.Popen(["wine", EXE], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        hwnd = wait_until(lambda: (probe.windows(MAIN_CLASS) or [None])[0], 20, what="the window")
        pid = process.pid if b"scopella" in open("/proc/%d/cmdline" % process.pid, "rb").read() \
            else find_process("scopella.exe")
        xvfb = int(os.environ["SCOPELLA_XVFB_PID"])
        time.sleep(1.5)  # start-up work is not counted
        mover = MouseMover(screen) if moving else None
        if mover:
            mover.start()
        start, app0, x0 = time.monotonic(), cpu_seconds(pid), cpu_seconds(xvfb)
        time.sleep(seconds)
        wall, app1, x1 = time.monotonic() - start, cpu_seconds(pid), cpu_seconds(xvfb)
        if mover:
            mover.running = False
            mover.join()
        probe.post(hwnd, WM_CLOSE)
        process.wait(timeout=15)
        return 100 * (app1 - app0) / wall, 100 * (x1 - x0) / wall
    finally:
        if process.poll() is None:
            process.kill()
            process.wait(timeout=10)


def main():
    # [seconds per run] [--overlays: only the rows of the animated overlays]
    words = [a for a in sys.argv[1:] if not a.startswith("--")]
    seconds = float(words[0]) if words else 5.0
    probe = Probe()
    screen = Screen()
    try:
        if "--overlays" not in sys.argv:
            print("CPU per second of wall time, %% of one core (450x250 window, zoom 3, %.0f s each)" % seconds)
            print("%-8s %-22s %12s %10s" % ("rate", "mouse", "scopella.exe", "Xvfb"))
            for moving in (False, True):
                for rate in RATES:
                    app, x = run_case(probe, screen, rate, moving, seconds)
                    mouse = "moving, follow mode" if moving else "still, follow mode"
                    print("%-8s %-22s %11.1f%% %9.1f%%" % (RATES[rate], mouse, app, x))
                    sys.stdout.flush()
        print_overlay_rows(probe, seconds, cpu_seconds, find_process, int(os.environ["SCOPELLA_XVFB_PID"]))
    finally:
        probe.delete_key()
        probe.close()
        screen.close()


if __name__ == "__main__":
    main()

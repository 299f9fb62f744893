"""CPU used by a running scopella.exe while its overlays animate: the marquee
around a large selection (800 x 600, held with the right button) and the
highlight frame blinking (Ctrl+H given again every second), next to the same
window idle. Part of bench/cpu_bench.py's table."""
import subprocess
import time

from harness import EXE, MAIN_CLASS, WM_COMMAND, WM_CLOSE, wait_until

HIGHLIGHT = 4026
WINDOW = (100, 100, 1100, 850)   # a view of about 990 x 650 pixels
SELECTION = (800, 600)


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=10)


def run_overlay_case(probe, kind, seconds, cpu_seconds, find_process, xvfb):
    probe.delete_key()
    probe.set_value("WindowPos", 3, b"".join(v.to_bytes(4, "little", signed=True) for v in WINDOW))
    probe.set_dword("Update", 1)
    probe.set_dword("ZoomFactor", 4)
    probe.set_value("MouseTracking", 3, b"\x00")
    xdotool("mousemove", 1500, 1000)
    process = subprocess.Popen(["wine", EXE], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        hwnd = wait_until(lambda: (probe.windows(MAIN_CLASS) or [None])[0], 20, what="the window")
        pid = process.pid if b"scopella" in open("/proc/%d/cmdline" % process.pid, "rb").read() \
            else find_process("scopella.exe")
        time.sleep(1.5)  # start-up work is not counted
        if kind == "marquee":
            client = probe.info(hwnd)["client"]
            x, y = client[0] + 20, client[1] + 60
            xdotool("mousemove", x, y)
            xdotool("mousedown", 3)
            xdotool("mousemove", x + SELECTION[0] // 2, y + SELECTION[1] // 2)
            xdotool("mousemove", x + SELECTION[0], y + SELECTION[1])
            wait_until(lambda: probe.windows("tiv_Marquee"), 10, what="the marquee")
            time.sleep(0.5)
        start, app0, x0 = time.monotonic(), cpu_seconds(pid), cpu_seconds(xvfb)
        while time.monotonic() - start < seconds:
            if kind == "highlight":
                probe.post(hwnd, WM_COMMAND, HIGHLIGHT, 0)
            time.sleep(1.0)
        wall, app1, x1 = time.monotonic() - start, cpu_seconds(pid), cpu_seconds(xvfb)
        if kind == "marquee":
            xdotool("mousedown", 1)  # a left click ends the selection
            xdotool("mouseup", 1)
            xdotool("mouseup", 3)
        probe.post(hwnd, WM_CLOSE)
        process.wait(timeout=15)
        return 100 * (app1 - app0) / wall, 100 * (x1 - x0) / wall
    finally:
        if process.poll() is None:
            process.kill()
            process.wait(timeout=10)


def print_overlay_rows(probe, seconds, cpu_seconds, find_process, xvfb):
    print()
    print("CPU while the overlays animate, %% of one core (1000x750 window, zoom 4, update None, %.0f s each)"
          % seconds)
    print("%-44s %12s %10s" % ("case", "scopella.exe", "Xvfb"))
    cases = (("idle", "idle, nothing shown"),
             ("marquee", "marquee around an 800x600 selection"),
             ("highlight", "highlight blinking (Ctrl+H every second)"))
    for kind, label in cases:
        app, x = run_overlay_case(probe, kind, seconds, cpu_seconds, find_process, xvfb)
        print("%-44s %11.1f%% %9.1f%%" % (label, app, x))

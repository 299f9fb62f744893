"""Counts what a running Scopella asks of the X server and of the wineserver,
per second, in the cases that decide its CPU cost: idle at rate None, idle at
rate Fast, the mouse moving with follow mode off, and follow mode with the
mouse moving at rate None and Fast.
Counts do not depend on how busy the machine is, unlike CPU figures.
  - frames/s, pixels/s: screen reads larger than one pixel and one-pixel
    reads (the colour readout), at the X server (RECORD);
  - X req/s: every request the prefix's clients send to the X server
    (the pointer moves of this script left out);
  - server req/s: every request the prefix's processes send to the
    wineserver (its own trace, wineserver -d1).
Runs inside a display; builds its own lean prefix under build/.
With --detail, the most frequent requests of each kind are listed too; with
--bare, the tool band and the status bar are hidden, as in the peer scenarios.
    scripts/with-display.sh python3 bench/call_counts.py [--detail] [--bare] [seconds per case]"""
import ctypes
import os
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "bench"))
PREFIX = os.path.join(ROOT, "build", "wine-counts")
os.environ.update(WINEPREFIX=PREFIX, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                  SCOPELLA_EXE=os.path.join(ROOT, "build", "scopella.exe"),
                  SCOPELLA_TOOLS=os.path.join(ROOT, "build", "tests"))

import xrecord  # noqa: E402
from cpu_bench import running_scopella, warp, write_case  # noqa: E402
from harness import Probe  # noqa: E402
from xscreen import Screen  # noqa: E402

X_WarpPointer = 41
REQUEST = re.compile(rb"^[0-9a-f]{4}: [a-z_0-9]+\( ")


class AllRequests(xrecord.RequestCounter):
    """Also counts every X request of every client (pointer warps left out)."""

    def _intercepted(self, closure, data):
        d = data.contents
        if d.category == xrecord.XRecordFromClient and d.data_len > 0 and d.data[0] != X_WarpPointer:
            self.all = getattr(self, "all", 0) + 1
            self.ops[d.data[0]] = self.ops.get(d.data[0], 0) + 1
        super()._intercepted(closure, data)

    def start(self):
        self.all, self.ops = 0, {}
        super().start()

    def stop(self):
        frames, pixels, _ = super().stop()
        return frames, pixels, self.all


def record_everything():
    """Makes the counter record every request, not only the image ones."""
    original = xrecord._xtst.XRecordCreateContext

    def create(display, flags, clients, nclients, ranges, nranges):
        wide = xrecord._xtst.XRecordAllocRange()
        wide.contents.core_requests = xrecord._Range8(1, 127)
        wide.contents.ext_requests = xrecord._ExtRange(xrecord._Range8(128, 255), xrecord._Range16(0, 65535))
        array = (ctypes.POINTER(xrecord._Range) * 1)(wide)
        return original(display, flags, clients, nclients, array, 1)

    xrecord._xtst.XRecordCreateContext = create


def server_requests(trace, names=None, offset=0):
    count = 0
    with open(trace, "rb") as f:
        f.seek(offset)
        for line in f:
            if REQUEST.match(line):
                count += 1
                if names is not None:
                    name = line[6:line.index(b"(")].decode()
                    names[name] = names.get(name, 0) + 1
    return count


def run_case(probe, screen, counter, trace, rate, follow, moving, seconds, detail, bare):
    write_case(probe, rate, follow)
    if bare:
        probe.set_value("DisplayToolbar", 3, b"\x00")
        probe.set_value("DisplayStatusbar", 3, b"\x00")
    warp(screen, 550, 300)
    with running_scopella(probe, moving):
        time.sleep(0.3)
        counter.start()
        before = server_requests(trace)
        offset = os.path.getsize(trace)
        start = time.monotonic()
        time.sleep(seconds)
        wall = time.monotonic() - start
        after = server_requests(trace)
        frames, pixels, requests = counter.stop()
        if detail:
            names = {}
            server_requests(trace, names, offset)
            print("  X opcodes (whole run):", sorted(counter.ops.items(), key=lambda kv: -kv[1])[:12])
            print("  server (whole run):", sorted(names.items(), key=lambda kv: -kv[1])[:16])
    # The trace scan itself is not a client; the probe is idle meanwhile.
    return frames / wall, pixels / wall, requests / wall, (after - before) / wall


def main():
    detail = "--detail" in sys.argv
    bare = "--bare" in sys.argv
    args = [a for a in sys.argv[1:] if a not in ("--detail", "--bare")]
    seconds = float(args[0]) if args else 5.0
    subprocess.run([os.path.join(ROOT, "scripts", "prepare-prefix.sh"), PREFIX, "test"], check=True)
    trace = os.path.join(ROOT, "build", "wineserver-trace.log")
    with open(trace, "wb") as log:
        server = subprocess.Popen(["wineserver", "-f", "-d1", "-p"], stderr=log)
    record_everything()
    screen = Screen()
    screen.paint_root()
    counter = AllRequests()
    probe = Probe()
    try:
        print("Per second (450x250 window, zoom 3, %s, %.0f s each)" % (
            "bars hidden" if bare else "bars shown", seconds))
        print("%-7s %-15s %9s %9s %10s %14s" % ("rate", "mode", "frames/s", "pixels/s", "X req/s", "server req/s"))
        cases = ((1, False, False), (4, False, False), (1, False, True), (1, True, True), (4, True, True))
        for rate, follow, moving in cases:
            fps, pixels, xreq, sreq = run_case(probe, screen, counter, trace, rate, follow, moving, seconds,
                                               detail, bare)
            mode = ("follow" if follow else "idle") + (", moving" if moving else ", still")
            print("%-7s %-15s %9.1f %9.1f %10.1f %14.1f" % (
                {1: "None", 4: "Fast"}[rate], mode, fps, pixels, xreq, sreq))
            sys.stdout.flush()
    finally:
        probe.delete_key()
        probe.close()
        counter.close()
        screen.close()
        subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        server.wait(timeout=30)


if __name__ == "__main__":
    main()

"""What the colour inspector costs: scenarios A (small view, Fast, mouse
still) and D (follow mode, mouse moving) of the CPU rows, with the inspector
closed, open with a 1x1 sample and open with a 9x9 sample, side by side in
one run: the cases interleaved round by round, medians over the rounds. The
figure is the CPU of every process of the prefix and of the X server, in %
of one core. With the bars shown (as the CPU rows have them) and hidden (as
the peers' scenarios have them: the readout tick then runs for the inspector
alone). Run inside the bench's display and prefix (as scripts/bench.sh sets
them up):
    python3 bench/inspector_cpu.py [seconds per run, default 10] [rounds, default 3]"""
import os
import statistics
import sys
import time

from cpu_bench import Probe, Screen, cpu_seconds, prefix_processes, running_scopella, snapshot, warp, write_case

VARIANTS = [("closed", None), ("open 1x1", 1), ("open 9x9", 9)]
SCENARIOS = [("A  Fast, still", False), ("D  follow, moving", True)]


def measure(probe, screen, follow, sample, bars, seconds):
    write_case(probe, 4, follow)
    if not bars:
        for name in ("DisplayToolbar", "DisplayStatusbar"):
            probe.set_value(name, 3, b"\x00")
    if sample:
        probe.set_value("InspectorShown", 3, b"\x01")
        probe.set_dword("InspectorSampleSize", sample)
    warp(screen, 550, 300)
    with running_scopella(probe, follow):
        xvfb = int(os.environ["SCOPELLA_XVFB_PID"])
        kinds = prefix_processes(exclude={probe.process.pid})
        start, before, x0 = time.monotonic(), snapshot(kinds), cpu_seconds(xvfb)
        time.sleep(seconds)
        wall, after, x1 = time.monotonic() - start, snapshot(kinds), cpu_seconds(xvfb)
    used = sum(t - before.get(pid, t) for pid, t in after.items()) + x1 - x0
    return 100 * used / wall


def print_inspector_rows(probe, screen, seconds, rounds):
    # SCOPELLA_BENCH_ONLY="D shown" measures one scenario with the bars shown or hidden.
    only = os.environ.get("SCOPELLA_BENCH_ONLY", "").split()
    scenarios = [s for s in SCENARIOS if not only or s[0].startswith(only[0])]
    for bars in [b for b in (True, False) if len(only) < 2 or only[1] == ("shown" if b else "hidden")]:
        figures = {}
        for _ in range(rounds):
            for scenario, follow in scenarios:
                for variant, sample in VARIANTS:
                    figures.setdefault((scenario, variant), []).append(
                        measure(probe, screen, follow, sample, bars, seconds))
        print("Colour inspector, CPU %% of one core (prefix + Xvfb), bars %s, median of %d interleaved rounds "
              "of %.0f s" % ("shown" if bars else "hidden", rounds, seconds))
        for scenario, _ in scenarios:
            closed = statistics.median(figures[(scenario, "closed")])
            row = []
            for variant, _ in VARIANTS:
                m = statistics.median(figures[(scenario, variant)])
                row.append("%s %5.2f (%+.0f %%)" % (variant, m, 100 * (m - closed) / closed) if variant != "closed"
                           else "%s %5.2f" % (variant, m))
            print("  %-18s %s" % (scenario, "   ".join(row)))
            print("  %-18s runs: %s" % ("", "; ".join(" ".join("%.2f" % v for v in figures[(scenario, variant)])
                                                        for variant, _ in VARIANTS)))
        print()
        sys.stdout.flush()


def main():
    words = sys.argv[1:]
    seconds = float(words[0]) if words else 10.0
    rounds = int(words[1]) if len(words) > 1 else 3
    screen = Screen()
    screen.paint_root()
    probe = Probe()
    try:
        print_inspector_rows(probe, screen, seconds, rounds)
    finally:
        probe.delete_key()
        probe.close()
        screen.close()


if __name__ == "__main__":
    main()

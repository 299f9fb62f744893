#!/usr/bin/env bash
# The benchmark (make bench): builds what it needs, then, in a virtual display
# and a lean Wine prefix of its own (build/wine-bench), measures one paint per
# frame in phases, one readout tick, the PNG of a copy, the start-up time to a
# painted window (cold and warm), the Linux install's copy commands, and the
# CPU a user pays at each update rate: every process of the prefix and the X
# server. Prints tables; nothing passes or fails.
#   scripts/bench.sh [seconds per CPU run, default 5] [start-ups per kind, default 5]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build --target scopella scopella_hotkey paint_bench probe

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(WINEDEBUG=-all wine --version 2>/dev/null)"

# A screen large enough for a 1600 x 1000 window.
export SCOPELLA_SCREEN=1920x1200x24
export SCOPELLA_ROOT=$root SCOPELLA_BENCH_SECONDS=${1:-5} SCOPELLA_BENCH_STARTS=${2:-5}
scripts/with-display.sh bash -c '
    set -euo pipefail
    prefix="$SCOPELLA_ROOT/build/wine-bench"
    "$SCOPELLA_ROOT/scripts/prepare-prefix.sh" "$prefix" test
    export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export SCOPELLA_EXE="$SCOPELLA_ROOT/build/scopella.exe" SCOPELLA_TOOLS="$SCOPELLA_ROOT/build/tests"
    trap "wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true" EXIT
    wineserver -p
    echo
    wine "$SCOPELLA_ROOT/build/bench/paint_bench.exe"
    # Most of a large frame is the first touch of the freshly allocated view
    # buffer. Whether the C library under Wine maps new memory for it on every
    # paint or keeps freed memory depends on its history; the two runs below
    # fix either case, so the two source-buffer sizes compare on equal terms.
    echo
    echo "The same with new memory for every buffer (GLIBC_TUNABLES mmap_threshold=128K):"
    GLIBC_TUNABLES=glibc.malloc.mmap_threshold=131072 \
        wine "$SCOPELLA_ROOT/build/bench/paint_bench.exe" --paint-only | tail -n +3
    echo
    echo "The same with freed memory kept for the next paint (mmap_threshold=64M, trim_threshold=256M):"
    GLIBC_TUNABLES=glibc.malloc.mmap_threshold=67108864:glibc.malloc.trim_threshold=268435456 \
        wine "$SCOPELLA_ROOT/build/bench/paint_bench.exe" --paint-only | tail -n +3
    echo
    python3 "$SCOPELLA_ROOT/bench/cpu_bench.py" "$SCOPELLA_BENCH_SECONDS" "$SCOPELLA_BENCH_STARTS"
'

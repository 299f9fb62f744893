#!/usr/bin/env bash
# The paint-path benchmark (make bench): builds what it needs, then, in a
# virtual display and a Wine prefix of its own (build/wine-bench), measures
# one paint per frame in phases, one readout tick, and the CPU the running
# program uses at each update rate. Prints tables; nothing passes or fails.
#   scripts/bench.sh [seconds per CPU run, default 5]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build --target scopella paint_bench probe

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(wine --version)"

# A screen large enough for a 1600 x 1000 window.
export SCOPELLA_SCREEN=1920x1200x24
export SCOPELLA_ROOT=$root SCOPELLA_BENCH_SECONDS=${1:-5}
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
    echo
    python3 "$SCOPELLA_ROOT/bench/cpu_bench.py" "$SCOPELLA_BENCH_SECONDS"
'

#!/usr/bin/env bash
# Scopella against its peers (KMag, xzoom, a raw X11 floor) in the same
# virtual display and scenarios, with peerbench (not part of this tree; it
# runs as root and takes about 25 minutes with every row):
#   scripts/peerbench.sh <peerbench folder> [extra environment, e.g. PB_REPS=1 PB_MEASURE=5]
# Scenarios: A small view at 20 Hz, B large view, C idle, D follow mode.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
peerbench=$(cd "${1:?usage: peerbench.sh <peerbench folder> [VAR=value ...]}" && pwd)
shift
cd "$root"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build --target scopella
exec env "$@" PB_EXTRA="$root/bench/peer-rows.sh" SCOPELLA_EXE="$root/build/scopella.exe" SCOPELLA_ROOT="$root" \
    "$peerbench/peerbench.sh"

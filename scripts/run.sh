#!/usr/bin/env bash
# Builds Scopella and starts it under Wine, in a Wine prefix of its own
# (never the user's default one; settings live there between runs).
# On a machine without a display it starts a virtual one, runs Scopella there,
# saves a screenshot and prints where it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build --target scopella

export WINEPREFIX=${SCOPELLA_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/scopella/wineprefix}
export WINEDEBUG=-all

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    scripts/prepare-prefix.sh "$WINEPREFIX"
    echo "Starting Scopella (Wine prefix $WINEPREFIX)"
    exec wine "$root/build/scopella.exe"
fi

echo "No display found: running Scopella in a virtual display."
export SCOPELLA_ROOT=$root
scripts/with-display.sh scripts/screenshot-in-display.sh

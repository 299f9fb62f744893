#!/usr/bin/env bash
# Builds Scopella and runs every test headless, in a virtual display and a
# Wine prefix of the project's own. The 32-bit build is compiled and linked
# too (it cannot run here: these machines run no 32-bit programs, so no 32-bit Wine).
#   scripts/test.sh [ctest arguments, e.g. -R e2e]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build
cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DSCOPELLA_TESTS=OFF >/dev/null
cmake --build build-win32

export SCOPELLA_ROOT=$root
scripts/with-display.sh scripts/run-tests-in-display.sh "$@"

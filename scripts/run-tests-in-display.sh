#!/usr/bin/env bash
# The part of the test run that needs the display: prepares the test prefix,
# keeps one wine server and Wine's desktop process alive for all tests (so each
# test starts fast and no Wine helper holds a test's output open), runs ctest,
# and ends every Wine process of the prefix afterwards.
set -euo pipefail
root=${SCOPELLA_ROOT:?}
prefix="$root/build/wine-test"
"$root/scripts/prepare-prefix.sh" "$prefix" test

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
cleanup() {
    exec 4>&- 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

wineserver -p
mkfifo "$work/keeper"
wine "$root/build/tests/probe.exe" --serve <"$work/keeper" >"$work/keeper.out" 2>/dev/null &
exec 4>"$work/keeper"
# The desktop process starts now, not inside a test: wait for the answer.
echo cursor >&4
for _ in $(seq 1 300); do
    [ -s "$work/keeper.out" ] && break
    sleep 0.1
done
[ -s "$work/keeper.out" ] || { echo "Wine did not start its desktop" >&2; exit 1; }

if [ "${1:-}" = --long ]; then
    # A long run (make monkey, make soak): one test module, without ctest's time limit.
    cd "$root/tests/e2e"
    SCOPELLA_EXE="$root/build/scopella.exe" SCOPELLA_TOOLS="$root/build/tests" python3 -m unittest -v "$2"
else
    ctest --test-dir "$root/build" --output-on-failure --timeout 600 "$@"
fi

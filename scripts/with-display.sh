#!/usr/bin/env bash
# Runs a command inside a virtual X display of its own (Xvfb), which is stopped
# afterwards:  with-display.sh <command> [args]
# The display number is chosen by the server itself, so several runs can go
# on side by side.
set -euo pipefail
geometry=${SCOPELLA_SCREEN:-1280x1024x24}
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r -t 30 number <"$fifo" || { echo "Xvfb did not start" >&2; kill $xvfb 2>/dev/null; rm -f "$fifo"; exit 1; }
rm -f "$fifo"
export DISPLAY=":$number"
export SCOPELLA_XVFB_PID=$xvfb   # for measurements of the server's own work
status=0
"$@" || status=$?
kill $xvfb 2>/dev/null || true
wait $xvfb 2>/dev/null || true
exit $status

#!/usr/bin/env bash
# Runs Scopella for a few seconds in the current (virtual) display, saves a
# screenshot of the screen and closes the program the way a user would.
set -euo pipefail
root=${SCOPELLA_ROOT:?}
shot="$root/build/scopella-screenshot.png"
"$root/scripts/prepare-prefix.sh" "$WINEPREFIX"
# A virtual display has no window manager: let Wine draw the window frame
# itself for this run (and leave the prefix as it was afterwards).
x11_key='HKCU\Software\Wine\X11 Driver'
wine reg add "$x11_key" /v Managed /t REG_SZ /d N /f >/dev/null
trap 'wine reg delete "$x11_key" /v Managed /f >/dev/null 2>&1 || true; wineserver -w' EXIT

wine "$root/build/scopella.exe" >/dev/null 2>&1 &
app=$!
window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name '^Scopella$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "Scopella did not open its window" >&2
    kill $app 2>/dev/null || true
    exit 1
fi
# Point the view at something worth seeing: the middle of the window's caption.
xdotool mousemove 60 10
sleep 3
import -window root "$shot"
xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4 || kill $app
wait $app || true
echo "Screenshot saved: $shot"

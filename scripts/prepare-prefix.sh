#!/usr/bin/env bash
# Creates (once) a Wine prefix that belongs to Scopella, never the user's own.
#   prepare-prefix.sh <prefix folder> [test]
# A test prefix also switches off Wine's crash dialog and the help viewer, so
# that no test can hang on a modal window, and lets Wine draw window frames
# itself (the virtual display has no window manager).
set -euo pipefail
prefix=$(realpath -m "${1:?usage: prepare-prefix.sh <prefix folder> [test]}")
kind=${2:-run}

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

case "$prefix" in
    "$HOME/.wine"|"$HOME/.wine/") echo "refusing to use the default Wine prefix" >&2; exit 1 ;;
esac

if [ ! -f "$prefix/system.reg" ]; then
    echo "Creating Wine prefix $prefix (takes a few seconds, once)"
    mkdir -p "$prefix"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi

stamp="$prefix/.scopella-$kind"
if [ ! -f "$stamp" ]; then
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    if [ "$kind" = test ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
        wine reg add 'HKCU\Software\Wine\DllOverrides' /v winhlp32.exe /t REG_SZ /d "" /f >/dev/null
    fi
    wineserver -w
    touch "$stamp"
fi

# Web pages (.html, the help page among them) open in the browser, as on
# Windows or in a default Wine prefix: ours is made without Wine's HTML
# engine, whose registration is what names that file type.
stamp="$prefix/.scopella-html"
if [ ! -f "$stamp" ]; then
    wine reg add 'HKCR\.html' /ve /t REG_SZ /d htmlfile /f >/dev/null
    wine reg add 'HKCR\.html' /v 'Content Type' /t REG_SZ /d text/html /f >/dev/null
    wine reg add 'HKCR\.htm' /ve /t REG_SZ /d htmlfile /f >/dev/null
    wine reg add 'HKCR\.htm' /v 'Content Type' /t REG_SZ /d text/html /f >/dev/null
    wineserver -w
    touch "$stamp"
fi

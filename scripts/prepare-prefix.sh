#!/usr/bin/env bash
# Creates (once) a Wine prefix that belongs to Scopella, never the user's own,
# and sets it up lean, as registry settings of the prefix, so that every start
# in it is lean whoever starts it:
#  - Wine's own fonts (Marlett, Tahoma, Symbol, ...) copied into the prefix's
#    Fonts folder, where Wine finds them: caption buttons, check marks and the
#    default GUI font need them;
#  - the USB and HID device drivers (winebus.sys, wineusb.sys) switched off:
#    their device polling costs more than the whole program at rest, and
#    keyboard, mouse and display do not use them;
#  - no Mono or Gecko prompts, no crash dialog, no help viewer (Scopella's
#    help file is not shipped, and the viewer's error box would block F1),
#    and no menu entries made by Wine for what runs inside (the install
#    makes Scopella's own).
#   prepare-prefix.sh <prefix folder> [run|test]
# A test prefix also lets Wine draw window frames itself (the virtual display
# has no window manager).
set -euo pipefail
prefix=$(realpath -m "${1:?usage: prepare-prefix.sh <prefix folder> [run|test]}")
kind=${2:-run}

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

case "$prefix" in
    "$HOME/.wine"|"$HOME/.wine/") echo "refusing to use the default Wine prefix" >&2; exit 1 ;;
esac

# Wine's data folder holds its own fonts; where it is depends on the build.
wine_fonts() {
    local wine_bin candidate
    wine_bin=$(readlink -f "$(command -v wine)")
    for candidate in "${SCOPELLA_WINE_FONTS:-}" \
                     "$(dirname "$wine_bin")/../share/wine/fonts" \
                     /usr/share/wine/fonts /usr/local/share/wine/fonts /opt/wine*/share/wine/fonts; do
        if [ -n "$candidate" ] && [ -f "$candidate/marlett.ttf" ]; then
            echo "$candidate"
            return
        fi
    done
}

if [ ! -f "$prefix/system.reg" ]; then
    echo "Creating Wine prefix $prefix (takes a few seconds, once)"
    mkdir -p "$prefix"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi

# The stamp names the set-up's revision: a prefix set up by an older one is
# brought up to date once.
# A test prefix is a lean prefix with test settings added: it serves runs too.
stamp="$prefix/.scopella-$kind-2"
if [ ! -f "$stamp" ] && ! { [ "$kind" = run ] && [ -f "$prefix/.scopella-test-2" ]; }; then
    fonts=$(wine_fonts)
    if [ -n "$fonts" ]; then
        mkdir -p "$prefix/drive_c/windows/Fonts"
        cp -n "$fonts"/*.ttf "$fonts"/*.fon "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
    else
        echo "Wine's own fonts were not found; set SCOPELLA_WINE_FONTS to their folder" >&2
    fi
    settings=$(mktemp --suffix=.reg)
    cat >"$settings" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winebus.sys"=""
"wineusb.sys"=""
"mscoree"=""
"mshtml"=""
"winhlp32.exe"=""
"winemenubuilder.exe"=""

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
    if [ "$kind" = test ]; then
        printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' >>"$settings"
    fi
    wine regedit /S "Z:${settings//\//\\}" >/dev/null 2>&1
    rm -f "$settings"
    # Drivers already running stop with the prefix's server.
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

#!/usr/bin/env bash
# make install / make uninstall: Scopella for one Linux user, without root.
#   install.sh install|uninstall
# Installs under PREFIX (default ~/.local):
#   bin/scopella                          the command (starts Scopella under Wine;
#                                         --copy-colour and --copy-view for key bindings)
#   lib/scopella/                         scopella.exe, its hotkey helper, PANX.dll when
#                                         built, the prefix set-up
#   share/applications/scopella.desktop   the application menu's entry
#   share/icons/hicolor/NxN/apps/scopella.png  the program's icon
# and, made by the command, the link "Program Files/Scopella" to lib/scopella in
# the Wine prefix's drive C: (Wine runs no program from a folder whose name
# Windows forbids, as one with "|" in it).
# The Wine prefix, with Scopella's settings, is the one `make run` uses:
# ${XDG_DATA_HOME:-~/.local/share}/scopella/wineprefix, or $SCOPELLA_WINEPREFIX.
# Uninstalling keeps that prefix and the settings in it, as a Windows
# uninstaller keeps a program's registry settings; PURGE=1 removes the default
# prefix as well.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
action=${1:?usage: install.sh install|uninstall}

prefix=${PREFIX:-$HOME/.local}
bin_dir=$prefix/bin
program_dir=$prefix/lib/scopella
apps_dir=$prefix/share/applications
icons_dir=$prefix/share/icons/hicolor
default_wine_prefix=${XDG_DATA_HOME:-$HOME/.local/share}/scopella/wineprefix
wine_prefix=${SCOPELLA_WINEPREFIX:-$default_wine_prefix}

# PNG icons from the icon resource: each of its images at its own size, and
# the largest one enlarged 2x and 4x pixel for pixel.
make_icons() {
    local ico=$root/resources/scopella.ico out=$1 index size largest=0 largest_index=0
    mkdir -p "$out"
    while read -r index size; do
        convert "$ico[$index]" "PNG32:$out/$size.png"
        if [ "$size" -gt "$largest" ]; then largest=$size largest_index=$index; fi
    done < <(identify -format '%p %w\n' "$ico")
    for factor in 2 4; do
        convert "$ico[$largest_index]" -filter point -resize "$((factor * 100))%" \
            "PNG32:$out/$((largest * factor)).png"
    done
}

# A path as one argument of a desktop entry's Exec line, whatever characters
# it holds: in double quotes with ", `, $ and \ escaped by a backslash and %
# doubled (the field codes), then escaped as any string value of the file
# is (\\ for a backslash; newline, tab and carriage return as \n, \t, \r).
desktop_exec_argument() {
    local s=$1
    s=${s//\\/\\\\}
    s=${s//\"/\\\"}
    s=${s//\`/\\\`}
    s=${s//\$/\\\$}
    s=${s//%/%%}
    s=${s//\\/\\\\}
    s=${s//$'\n'/\\n}
    s=${s//$'\t'/\\t}
    s=${s//$'\r'/\\r}
    printf '"%s"' "$s"
}

install_all() {
    "$root/scripts/install-deps.sh"
    cd "$root"
    [ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
    cmake --build build --target scopella scopella_hotkey
    local panx=""
    if ninja -C build -t targets all 2>/dev/null | grep -q '^panx:'; then
        cmake --build build --target panx
        panx=$(find build -maxdepth 3 -iname panx.dll | head -n 1)
    fi

    install -d "$bin_dir" "$program_dir" "$apps_dir"
    install -m 644 build/scopella.exe "$program_dir/scopella.exe"
    install -m 644 build/scopella-hotkey.exe "$program_dir/scopella-hotkey.exe"
    [ -n "$panx" ] && install -m 644 "$panx" "$program_dir/PANX.dll"
    install -m 644 resources/Scopella.html "$program_dir/Scopella.html"
    install -m 755 scripts/prepare-prefix.sh "$program_dir/prepare-prefix.sh"
    # The command finds the program's folder from its own place.
    install -m 755 packaging/scopella-launcher.sh "$bin_dir/scopella"
    local line exec_argument
    exec_argument=$(desktop_exec_argument "$bin_dir/scopella")
    while IFS= read -r line; do
        printf '%s\n' "${line/@COMMAND@/"$exec_argument"}"
    done <packaging/scopella.desktop >"$apps_dir/scopella.desktop"

    local icons size
    icons=$(mktemp -d)
    make_icons "$icons"
    for png in "$icons"/*.png; do
        size=$(basename "$png" .png)
        install -D -m 644 "$png" "$icons_dir/${size}x$size/apps/scopella.png"
    done
    rm -rf "$icons"

    "$program_dir/prepare-prefix.sh" "$wine_prefix" run
    echo "Scopella is installed: start it from the application menu or with 'scopella'."
    case ":$PATH:" in
        *":$bin_dir:"*) ;;
        *) echo "(Add $bin_dir to your PATH to start it with 'scopella'.)" ;;
    esac
}

# Removes an empty folder and its empty parents up to (not including) top.
prune() {
    local dir=$1 top=$2
    while [ -d "$dir" ] && [ "$dir" != "$top" ] && [ "${dir#"$top"/}" != "$dir" ]; do
        rmdir "$dir" 2>/dev/null || break
        dir=$(dirname "$dir")
    done
}

uninstall_all() {
    # The command's link to the program's folder in the Wine prefix.
    local link="$wine_prefix/drive_c/Program Files/Scopella"
    if [ -L "$link" ] && [ "$(readlink -f "$link")" = "$(readlink -f "$program_dir")" ]; then
        rm -f "$link"
    fi
    rm -f "$bin_dir/scopella" "$apps_dir/scopella.desktop"
    rm -rf "$program_dir"
    rm -f "$icons_dir"/*/apps/scopella.png
    # The default prefix is Scopella's alone, but it holds the user's
    # settings: it goes only when asked for. One named by SCOPELLA_WINEPREFIX
    # is left to whoever named it.
    local kept=""
    if ls "$default_wine_prefix"/.scopella-* >/dev/null 2>&1; then
        if [ "${PURGE:-0}" = 1 ]; then
            WINEPREFIX=$default_wine_prefix wineserver -k 2>/dev/null || true
            rm -rf "$default_wine_prefix"
        else
            kept=$default_wine_prefix
        fi
    fi
    # Folders the installation made, where nothing else lives in them now.
    local dir top=$prefix
    [ "${prefix#"$HOME"/}" != "$prefix" ] && top=$HOME
    for dir in "$icons_dir"/*/apps "$apps_dir" "$bin_dir" "$prefix/lib"; do
        prune "$dir" "$top"
    done
    prune "$(dirname "$default_wine_prefix")" "$HOME"
    echo "Scopella is uninstalled."
    if [ -n "$kept" ]; then
        echo "Its settings are kept in the Wine prefix $kept"
        echo "(make uninstall PURGE=1 removes that too)."
    fi
}

case "$action" in
    install) install_all ;;
    uninstall) uninstall_all ;;
    *) echo "usage: install.sh install|uninstall" >&2; exit 1 ;;
esac

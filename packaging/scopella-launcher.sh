#!/bin/sh
# The `scopella` command: starts Scopella under Wine in a Wine prefix of its
# own (never the user's default one), set up lean on the first start. Its
# settings live in that prefix. Another start while one runs follows the
# program's SingleInstance setting.
#   scopella --copy-colour   the running Scopella copies the colour under the
#                            mouse, as its colour hotkey does (Ctrl+Shift+C at first)
#   scopella --copy-view     ... the magnified view, as its bitmap hotkey does
#                            (Ctrl+Shift+B at first)
# Exit codes of the copy options: 0 copied, 1 Scopella is not running, 2 a
# wrong argument, 3 Scopella did not answer, 4 Scopella copied nothing
# (standard error says why: minimised, the clipboard in use by another
# program, or the screen not read).
# The program's folder, from where this command lies (links followed): the
# install puts it in <prefix>/bin and the program in <prefix>/lib/scopella.
program_dir=$(readlink -f "$(dirname "$(readlink -f "$0")")/../lib/scopella")
WINEPREFIX=${SCOPELLA_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/scopella/wineprefix}
WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX WINEDEBUG
# Wine starts a program only from a folder that Windows could name (no | < >
# : " ? * in its path), so the program is started through a link to its
# folder in the prefix's drive C:, whatever the install's folder is called.
windows_folder() {
    link="$WINEPREFIX/drive_c/Program Files/Scopella"
    if mkdir -p "${link%/*}" 2>/dev/null && ln -sfnT "$program_dir" "$link" 2>/dev/null; then
        printf '%s\n' 'C:\Program Files\Scopella'
    else
        printf '%s\n' "$program_dir"
    fi
}
case "${1:-}" in
    --copy-colour|--copy-view)
        # The running Scopella copies as its hotkey would: for the desktop's
        # own key bindings, which reach Scopella from any program.
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "Scopella is not running: start it first, then copy with it." >&2
            exit 1
        fi
        exec wine "$(windows_folder)/scopella-hotkey.exe" "$1" ;;
esac
"$program_dir/prepare-prefix.sh" "$WINEPREFIX" run || exit 1
program=$(windows_folder)
# In a Wayland session Wine is an X program of XWayland's, and X programs
# cannot read what the Wayland desktop shows. Said once for the prefix: on
# standard error, and in a message box for a start from the desktop's menu,
# which has no terminal; the marker is left once the box was read.
if { [ "${XDG_SESSION_TYPE:-}" = wayland ] || [ -n "${WAYLAND_DISPLAY:-}" ]; } &&
    [ ! -e "$WINEPREFIX/.scopella-wayland-note" ]; then
    note="This is a Wayland session. Scopella runs under Wine as an X program, \
and X programs cannot read what the Wayland desktop shows: over the windows of \
Wayland programs the view shows black and the colour readout black or nothing, \
and with some desktops (Weston, for one) over every window, X programs' and \
Scopella's own included. To magnify the screen, log out, choose an X session \
on the login screen (\"GNOME on Xorg\", \"Plasma (X11)\" or your desktop's X11 \
session) and start Scopella there."
    printf '%s\n' "$note" >&2
    wine "$program/scopella-hotkey.exe" --notice "$note" &&
        : >"$WINEPREFIX/.scopella-wayland-note"
fi
exec wine "$program/scopella.exe" "$@"

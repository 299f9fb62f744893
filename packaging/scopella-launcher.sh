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
program_dir='@PROGRAM_DIR@'
WINEPREFIX=${SCOPELLA_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/scopella/wineprefix}
WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX WINEDEBUG
case "${1:-}" in
    --copy-colour|--copy-view)
        # The running Scopella copies as its hotkey would: for the desktop's
        # own key bindings, which reach Scopella from any program.
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "Scopella is not running: start it first, then copy with it." >&2
            exit 1
        fi
        exec wine "$program_dir/scopella-hotkey.exe" "$1" ;;
esac
"$program_dir/prepare-prefix.sh" "$WINEPREFIX" run || exit 1
exec wine "$program_dir/scopella.exe" "$@"

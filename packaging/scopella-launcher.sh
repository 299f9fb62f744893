#!/bin/sh
# The `scopella` command: starts Scopella under Wine in a Wine prefix of its
# own (never the user's default one), set up lean on the first start. Its
# settings live in that prefix. Another start while one runs follows the
# program's SingleInstance setting.
program_dir='@PROGRAM_DIR@'
WINEPREFIX=${SCOPELLA_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/scopella/wineprefix}
WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX WINEDEBUG
"$program_dir/prepare-prefix.sh" "$WINEPREFIX" run || exit 1
exec wine "$program_dir/scopella.exe" "$@"

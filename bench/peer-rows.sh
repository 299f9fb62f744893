# Scopella's rows for peerbench (a harness that measures live X11 magnifiers
# side by side): sourced by its peerbench.sh through PB_EXTRA; see
# scripts/peerbench.sh. Each scenario gets a lean Wine prefix of its own, set
# up as `make run` sets up Scopella's (before the first run, not measured),
# with the view placed and configured like the peers': client area at
# $VIEW_X,$VIEW_Y, tool band and status bar hidden, zoom 3 (4 in B), the source
# area's top-left at $SRC_X,$SRC_Y, Fast = 50 ms. The registry file is copied
# back before every run, since the program saves its settings on exit.
: "${SCOPELLA_EXE:?set SCOPELLA_EXE to the absolute path of scopella.exe}"
: "${SCOPELLA_ROOT:?set SCOPELLA_ROOT to the source tree}"
sc_le() { printf '%02x,%02x,%02x,%02x' $(( $1 & 255 )) $(( ($1>>8) & 255 )) $(( ($1>>16) & 255 )) $(( ($1>>24) & 255 )); }
sc_prefix() { # SCENARIO VIEW_W VIEW_H ZOOM UPDATE FOLLOW
    local p=$PB_WORK/scopella-$1 z=$4 cols rows zx zy l t
    cols=$(( $2 / z + 1 )); rows=$(( $3 / z + 1 )); zx=$(( SRC_X + cols / 2 )); zy=$(( SRC_Y + rows / 2 ))
    # Wine draws the frame itself (no window manager): 4 px at the sides and bottom, 23 px on top.
    l=$(( VIEW_X - 4 )); t=$(( VIEW_Y - 23 ))
    "$SCOPELLA_ROOT/scripts/prepare-prefix.sh" "$p" test >/dev/null
    cat >"$p.reg" <<R
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Brindle\\Scopella\\1]
"WindowPos"=hex:$(sc_le $l),$(sc_le $t),$(sc_le $(( l + $2 + 8 ))),$(sc_le $(( t + $3 + 27 )))
"ZoomPoint"=hex:$(sc_le $zx),$(sc_le $zy)
"ZoomFactor"=dword:0000000$z
"Update"=dword:0000000$5
"Update3"=dword:00000032
"MouseTracking"=hex:0$6
"DisplayToolbar"=hex:00
"DisplayStatusbar"=hex:00
R
    WINEPREFIX=$p WINEDEBUG=-all wine regedit /S "$p.reg" >/dev/null 2>&1; WINEPREFIX=$p wineserver -w
    cp "$p/user.reg" "$p.user.reg"
}
for s in $PB_SCENARIOS; do
    case $s in
        A) sc_prefix A 450 252 3 4 0 ;; B) sc_prefix B 1200 900 4 4 0 ;;
        C) sc_prefix C 450 252 3 1 0 ;; D) sc_prefix D 450 252 3 4 1 ;;
    esac
    measure_cmd scopella "cp $PB_WORK/scopella-$s.user.reg $PB_WORK/scopella-$s/user.reg && exec env WINEPREFIX=$PB_WORK/scopella-$s WINEDEBUG=-all wine '$SCOPELLA_EXE'" $s
done

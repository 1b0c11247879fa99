#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# First run at scale 2, 1920x1080: the pattern window beside the main one, on the screen, never taking keys.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/e2e-common.sh" "$@"
source "$(dirname "${BASH_SOURCE[0]}")/../x11-window.sh"
openbox >/dev/null 2>&1 &
sleep 1
QT_SCALE_FACTOR=2 "$PROGRAM_DIR/zibble-quarvel" >"$WORK/game.log" 2>&1 &
trap 'kill $! 2>/dev/null' EXIT
wait_window '^Zibble Quarvel V2.3$' 80 >/dev/null || fail "no language dialog"
xdotool key Return
MAIN=$(wait_window '^Zibble Quarvel$' 50) || fail "main window not mapped"
PATTERN=$(wait_window '^Quarvel 1$' 50) || fail "pattern window missing"
sleep 0.5
read -r MX MY MW MH < <(inside "$MAIN")
read -r FL FR FT FB < <(xprop -id "$MAIN" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
read -r PX PY PW PH < <(inside "$PATTERN")
[ "$PX" -ge 0 ] && [ "$PY" -ge 0 ] && [ $((PX + PW)) -le 1920 ] && [ $((PY + PH)) -le 1080 ] ||
    fail "pattern window $PX,$PY ${PW}x$PH not wholly on the screen"
[ $((PX + PW)) -le $((MX - FL)) ] || [ "$PX" -ge $((MX + MW + FR)) ] || [ $((PY + PH)) -le $((MY - FT)) ] ||
    [ "$PY" -ge $((MY + MH + FB)) ] || fail "pattern window $PX,$PY ${PW}x$PH covers the main window"
xdotool mousemove $((PX + 60)) $((PY + 9)) mousedown 1 sleep 0.3 mousemove $((PX + 40)) $((PY + 60)) \
    sleep 0.2 mousemove $((PX + 20)) $((PY + 120)) sleep 0.3 mouseup 1
sleep 0.5
[ "$(origin "$PATTERN")" != "$PX $PY" ] && xdotool key ctrl+t || fail "the pattern window did not move"
wait_window '^Quarvel statistics$' 30 >/dev/null || fail "Ctrl+T after dragging the pattern window opened nothing"
echo "e2e: all checks passed"

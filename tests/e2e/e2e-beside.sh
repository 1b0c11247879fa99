#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A first run at twice the scale on a 1920 by 1080 screen: the pattern window goes
# beside the main window, wholly on the screen and over none of it; dragged by its
# caption it takes no keys, so a shortcut still works. Run by run-e2e.sh inside xvfb-run.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/e2e-common.sh" "$@"
export QT_SCALE_FACTOR=2
openbox >/dev/null 2>&1 &
sleep 1
source "$(dirname "${BASH_SOURCE[0]}")/../x11-window.sh"
read -r SW SH < <(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]}')

"$PROGRAM_DIR/zibble-quarvel" >"$WORK/game.log" 2>&1 &
GAME=$!
TONGUE=$(wait_window '^Zibble Quarvel V2.3$' 80) || fail "no language dialog"
xdotool key Return
MAIN=$(wait_window '^Zibble Quarvel$' 50) || fail "main window not mapped"
PATTERN=$(wait_window '^Quarvel 1$' 50) || fail "pattern window missing"
sleep 0.5
import -window root "$WORK/beside.png"
read -r MX MY MW MH < <(inside "$MAIN")
read -r FL FR FT FB < <(xprop -id "$MAIN" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
read -r PX PY PW PH < <(inside "$PATTERN")
ML=$((MX - FL)) MT=$((MY - FT)) MR=$((MX + MW + FR)) MB=$((MY + MH + FB))
[ "$PX" -ge 0 ] && [ "$PY" -ge 0 ] && [ $((PX + PW)) -le "$SW" ] && [ $((PY + PH)) -le "$SH" ] ||
    fail "pattern window $PX,$PY ${PW}x$PH not wholly on the ${SW}x$SH screen"
[ $((PX + PW)) -le "$ML" ] || [ "$PX" -ge "$MR" ] || [ $((PY + PH)) -le "$MT" ] || [ "$PY" -ge "$MB" ] ||
    fail "pattern window $PX,$PY ${PW}x$PH covers the main window $ML,$MT-$MR,$MB"

xdotool mousemove $((PX + 60)) $((PY + 9)) mousedown 1
sleep 0.3
xdotool mousemove $((PX + 40)) $((PY + 60))
sleep 0.2
xdotool mousemove $((PX + 20)) $((PY + 120))
sleep 0.3
xdotool mouseup 1
sleep 0.5
[ "$(origin "$PATTERN")" != "$PX $PY" ] || fail "the pattern window did not move"
xdotool key ctrl+t
STATS=$(wait_window '^Quarvel statistics$' 30) || fail "Ctrl+T after dragging the pattern window opened nothing"
xdotool key Escape
wait_mapped "$STATS" no || fail "the statistics stay open"
xdotool key ctrl+q
sleep 1
xdotool key Return # endgame page: Enter is Yes
for _ in $(seq 100); do kill -0 $GAME 2>/dev/null || break; sleep 0.1; done
kill -0 $GAME 2>/dev/null && fail "program still running after Ctrl+Q and Yes"
wait $GAME || fail "exit code $?"
echo "e2e: all checks passed"

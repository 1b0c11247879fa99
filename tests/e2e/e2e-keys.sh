#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Solves Quarvel 1 of the shipped data file in the real program with key presses
# alone: Tab lifts each triangle, the arrow keys and Q/E carry and turn it, Space
# puts it down; undo and redo on the way; Ctrl+Q quits. Screenshots only look.
# Run by run-e2e.sh inside xvfb-run.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/e2e-common.sh" "$@"
mkdir -p "$XDG_CONFIG_HOME/zibble-quarvel"
# English chosen before: no language dialog.
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\common]\n"tongue"="0"\n\n' \
    >"$XDG_CONFIG_HOME/zibble-quarvel/settings.reg"

openbox >/dev/null 2>&1 &
sleep 1
source "$(dirname "${BASH_SOURCE[0]}")/../x11-window.sh"

note "start with English chosen; the splash goes by itself"
start_on_board '^Zibble Quarvel$'
[ "$CELL" -ge 8 ] || fail "cells of $CELL pixels are too small to read the outline"
ACTIVE=$(xdotool getactivewindow 2>/dev/null)
[ "$ACTIVE" = "$MAIN" ] || fail "the main window is not active after start-up (active: $ACTIVE)"

read -r -a SOLUTION < <(od -An -tu1 -N24 -v "$PROGRAM_DIR/zqvl2.dat" | tr -s ' \n' '  ')
[ ${#SOLUTION[@]} -eq 24 ] || fail "cannot read the solution of Quarvel 1"

for j in 1 2 3 4 5 6 7 8; do
    PX=$((j % 2 ? 9 : 81)) PY=$(((j - 1) / 2 * 15 + 8))
    TX=${SOLUTION[$((3 * j - 3))]} TY=${SOLUTION[$((3 * j - 2))]} TO=${SOLUTION[$((3 * j - 1))]}
    note "piece $j: lifted with Tab at $PX,$PY, carried to $TX,$TY in orientation $TO"
    keys Tab
    O=$(lifted_orientation $PX $PY) || fail "no lifted outline of piece $j at $PX,$PY"
    if [ $j = 6 ]; then
        # Carried off and put back with Escape; Shift+Tab and Tab come back to it.
        walk 10 Left Right
        keys Escape shift+Tab Tab
        O2=$(lifted_orientation $PX $PY) || fail "piece 6 did not go back to $PX,$PY with Escape"
        [ "$O2" = "$O" ] || fail "piece 6 came back turned: $O2, not $O"
    fi
    turn "$O" "$TO"
    walk $((TX - PX)) Left Right
    walk $((TY - PY)) Up Down
    if [ $j = 8 ]; then
        keys space
        other=
        for _ in $(seq 30); do
            for id in $(xdotool search --onlyvisible --name '^Zibble Quarvel$' 2>/dev/null); do
                [ "$id" != "$MAIN" ] && other=$id
            done
            [ -n "$other" ] && break
            sleep 0.1
        done
        [ -n "$other" ] || fail "no won page after the last piece"
        keys Return
    else
        keys space
    fi
    if [ $j = 4 ]; then
        note "undo takes piece 4 back to its parking place, redo lays it again"
        keys ctrl+z
        keys Tab shift+Tab # lifts 5 and then, putting 5 back down, piece 4 from its parking place
        O4=$(lifted_orientation $PX $PY) || fail "undo did not put piece 4 back at $PX,$PY"
        [ "$O4" = "$O" ] || fail "undo put piece 4 back turned: $O4, not $O"
        keys Escape ctrl+y
        keys Tab shift+Tab Escape # Tab goes on from piece 4 again
    fi
done

sleep 0.5
case "$(xdotool getwindowname "$PATTERN")" in
    *" - solved") ;;
    *) fail "pattern title after the last piece: $(xdotool getwindowname "$PATTERN")" ;;
esac
import -window root "$WORK/solved.png"
GREEN=$(convert "$WORK/solved.png" -crop $((CELL * 91 + 1))x$((CELL * 61 + 1))+$BX+$BY +repage -fill black +opaque "rgb(0,255,0)" -format '%[fx:int(mean*w*h*3+0.5)]' info:)
[ "${GREEN:-0}" -gt 5000 ] || fail "the solved pieces are not green ($GREEN)"

note "Ctrl+Q asks, Enter says yes, the solved game is saved under a typed name"
keys ctrl+q
sleep 0.7
keys Return
sleep 1.5
xdotool type --delay 20 "$WORK/keys"
keys Return
for _ in $(seq 100); do kill -0 $GAME 2>/dev/null || break; sleep 0.1; done
kill -0 $GAME 2>/dev/null && fail "program still running after Ctrl+Q"
wait $GAME || fail "exit code $?"
[ "$(od -An -tu1 -N1 "$WORK/keys.zqv" | tr -d ' ')" = "8" ] || fail "Quarvel 1 is not stored as solved without help"
echo "e2e keys: all checks passed"

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
keys() { xdotool key --delay 40 "$@"; sleep 0.3; }

# The triangle's corners in cells from its reference point, per orientation (the game's geometry).
VX0=(-7 -7 -7 -5 -3 -1 2 5 7 7 7 5 3 1 -2 -5)  VY0=(3 1 -2 -5 -7 -7 -7 -5 -3 -1 2 5 7 7 7 5)
VX1=(3 2 0 -2 -3 -4 -5 -4 -3 -2 0 2 3 4 5 4)    VY1=(3 4 5 4 3 2 0 -2 -3 -4 -5 -4 -3 -2 0 2)
VX2=(3 5 7 7 7 5 2 -1 -3 -5 -7 -7 -7 -5 -2 1)   VY2=(-7 -5 -2 1 3 5 7 7 7 5 2 -1 -3 -5 -7 -7)

# The orientation of the lifted triangle at cell (x, y), read from the screen: its
# yellow outline, XOR-drawn over the silver board, is the colour #3F3FC0. The
# orientation whose three edges run along most of those pixels wins.
lifted_orientation() {
    local x=$1 y=$2 rx=$((BX + $1 * CELL)) ry=$((BY + $2 * CELL)) r=$((8 * CELL))
    import -window root "$WORK/lifted.png"
    convert "$WORK/lifted.png" -crop $((2 * r))x$((2 * r))+$((rx - r))+$((ry - r)) +repage txt:- |
        awk -F'[,: ]+' -v r=$r -v c=$CELL -v vx0="${VX0[*]}" -v vy0="${VY0[*]}" -v vx1="${VX1[*]}" \
            -v vy1="${VY1[*]}" -v vx2="${VX2[*]}" -v vy2="${VY2[*]}" '
            / #3F3FC0 / { on[$1 "," $2] = 1 }
            END {
                split(vx0, ax, " "); split(vy0, ay, " "); split(vx1, bx, " "); split(vy1, by, " ")
                split(vx2, cx, " "); split(vy2, cy, " ")
                best = -1
                for (o = 1; o <= 16; o++) {
                    px[0] = ax[o]; py[0] = ay[o]; px[1] = bx[o]; py[1] = by[o]; px[2] = cx[o]; py[2] = cy[o]
                    score = 0
                    for (e = 0; e < 3; e++)
                        for (t = 1; t < 10; t++) {
                            sx = r + c * (px[e] + (px[(e + 1) % 3] - px[e]) * t / 10)
                            sy = r + c * (py[e] + (py[(e + 1) % 3] - py[e]) * t / 10)
                            hit = 0
                            for (dx = -1; dx <= 1; dx++)
                                for (dy = -1; dy <= 1; dy++)
                                    if ((int(sx + 0.5) + dx) "," (int(sy + 0.5) + dy) in on) hit = 1
                            score += hit
                        }
                    if (score > best) { best = score; found = o - 1 }
                }
                if (best < 24) exit 1
                print found
            }'
}

note "start with English chosen; the splash goes by itself"
"$PROGRAM_DIR/zibble-quarvel" >"$WORK/game.log" 2>&1 &
GAME=$!
MAIN=$(wait_window '^Zibble Quarvel$' 80) || fail "main window not mapped"
PATTERN=$(wait_window '^Quarvel 1$' 50) || fail "pattern window missing"
xdotool windowsize "$MAIN" 1000 740
sleep 4.5 # the splash closes after three seconds
read -r MX MY MW MH < <(inside "$MAIN")
read -r BL BT CELL < <(board_box "$MW" "$MH")
BX=$((MX + BL)) BY=$((MY + BT))
[ "$CELL" -ge 8 ] || fail "cells of $CELL pixels are too small to read the outline"
ACTIVE=$(xdotool getactivewindow 2>/dev/null)
[ "$ACTIVE" = "$MAIN" ] || fail "the main window is not active after start-up (active: $ACTIVE)"

read -r -a SOLUTION < <(od -An -tu1 -N24 -v "$PROGRAM_DIR/zqvl2.dat" | tr -s ' \n' '  ')
[ ${#SOLUTION[@]} -eq 24 ] || fail "cannot read the solution of Quarvel 1"

# Presses arrow keys that take the lifted triangle n cells on: Shift+arrow five at a time.
walk() {
    local n=$1 less=$2 more=$3 key k=()
    key=$more
    [ "$n" -lt 0 ] && { key=$less; n=$((-n)); }
    while [ "$n" -ge 5 ]; do k+=("shift+$key"); n=$((n - 5)); done
    while [ "$n" -gt 0 ]; do k+=("$key"); n=$((n - 1)); done
    [ ${#k[@]} -gt 0 ] && keys "${k[@]}"
    return 0
}
# Turns the lifted triangle from orientation o to t the shorter way.
turn() {
    local steps=$((($2 - $1 + 16) % 16)) k=()
    if [ $steps -le 8 ]; then for _ in $(seq $steps); do k+=(e); done
    else for _ in $(seq $((16 - steps))); do k+=(q); done; fi
    [ ${#k[@]} -gt 0 ] && keys "${k[@]}"
    return 0
}

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

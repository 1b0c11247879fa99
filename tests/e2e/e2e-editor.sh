#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a Quarvel in the real program by keys: Ctrl+E lends the board to the editor,
# Tab, the arrows, Q/E and Space lay a staircase of four squares, Ctrl+Enter saves it
# under a typed name once the check allows, and the own collection file holds it,
# moved to the board's centre. A figure not yet whole is not saved. Ctrl+E gives
# the game back. Started again on My Quarvels, the game plays it and it is solved.
# Run by run-e2e.sh inside xvfb-run.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/e2e-common.sh" "$@"
mkdir -p "$XDG_CONFIG_HOME/zibble-quarvel"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\common]\n"tongue"="0"\n\n' \
    >"$XDG_CONFIG_HOME/zibble-quarvel/settings.reg"
OWN=$HOME/.local/share/zibble-quarvel/my-quarvels.zqc

openbox >/dev/null 2>&1 &
sleep 1
source "$(dirname "${BASH_SOURCE[0]}")/../x11-window.sh"

quit() {
    keys ctrl+q
    sleep 0.7
    keys Return
    for _ in $(seq 100); do kill -0 $GAME 2>/dev/null || break; sleep 0.1; done
    kill -0 $GAME 2>/dev/null && fail "program still running after Ctrl+Q"
    wait $GAME || fail "exit code $?"
}
# Lays the parked pieces by keys at the placements given (x y orientation, pieces 1 to 8);
# after piece $2, runs $3.
lay() {
    local -a to=($1)
    for j in 1 2 3 4 5 6 7 8; do
        PX=$((j % 2 ? 9 : 81)) PY=$(((j - 1) / 2 * 15 + 8))
        keys Tab
        O=$(lifted_orientation $PX $PY) || fail "no lifted outline of piece $j at $PX,$PY"
        turn "$O" "${to[$((3 * j - 1))]}"
        walk $((${to[$((3 * j - 3))]} - PX)) Left Right
        walk $((${to[$((3 * j - 2))]} - PY)) Up Down
        keys space
        [ $j = "${2:-0}" ] && $3
    done
    return 0
}
unsaved() {
    keys ctrl+Return
    sleep 1
    [ -e "$OWN" ] && fail "a figure of seven pieces was saved"
}

start_on_board
note "Ctrl+E opens the editor with the pieces parked"
keys ctrl+e
# Four squares of 10 cells stepping down to the right, each split by orientations 0 and 8.
lay "37 22 0 33 18 8 47 32 0 43 28 8 57 32 0 53 28 8 67 42 0 63 38 8" 7 unsaved

note "once the check allows, Ctrl+Enter asks for a name and saves"
DIALOG=
for _ in $(seq 60); do
    keys ctrl+Return
    DIALOG=$(xdotool search --onlyvisible --name '^Save the Quarvel$' 2>/dev/null | head -1)
    [ -n "$DIALOG" ] && break
    sleep 1
done
[ -n "$DIALOG" ] || fail "the finished figure could not be saved"
import -window root "$WORK/editor.png"
xdotool type --delay 20 "Stairs"
keys Return
for _ in $(seq 50); do [ -s "$OWN" ] && break; sleep 0.1; done
# The box, columns 30..69 and rows 15..44, centred on the board's (45, 30): four columns to the left.
EXPECTED="33 22 0 29 18 8 43 32 0 39 28 8 53 32 0 49 28 8 63 42 0 59 38 8"
[ "$(od -An -tu1 -v "$OWN" | tr -s ' \n' '  ' | sed 's/^ //; s/ $//')" = "$EXPECTED" ] ||
    fail "the collection holds $(od -An -tu1 -v "$OWN" | tr -s ' \n' ' ')"
grep -q "Stairs" "${OWN%.zqc}.names" || fail "the name is not kept beside the collection"

note "Ctrl+E gives the game back; Ctrl+Q quits"
keys ctrl+e
[ "$(xdotool getwindowname "$PATTERN")" = "Quarvel 1" ] || fail "pattern title: $(xdotool getwindowname "$PATTERN")"
quit

note "started again on My Quarvels, the figure is played and solved"
sed -i 's/"collection"="shipped"/"collection"="own"/' "$XDG_CONFIG_HOME/zibble-quarvel/settings.reg"
start_on_board
xdotool getwindowname "$MAIN" | grep -q "My Quarvels" || fail "not playing My Quarvels: $(xdotool getwindowname "$MAIN")"
won() {
    for _ in $(seq 30); do
        [ -n "$(xdotool search --onlyvisible --name '^Zibble Quarvel$' 2>/dev/null | grep -v "^$MAIN$")" ] && break
        sleep 0.1
    done
    keys Return
}
lay "$EXPECTED" 8 won
sleep 0.5
[ "$(xdotool getwindowname "$PATTERN")" = "Quarvel 1 - solved" ] || fail "pattern title: $(xdotool getwindowname "$PATTERN")"
[ "$(od -An -tu1 -N1 "${OWN%.zqc}.zqv" | tr -d ' ')" = "8" ] || fail "own Quarvel 1 is not kept as solved"
quit
echo "e2e editor: all checks passed"

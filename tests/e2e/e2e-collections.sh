#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Own Quarvels picked in the gallery, played, kept apart from the game and played on
# after a restart; collection files on the command line and handed to a running game.
# Run by run-e2e.sh inside xvfb-run.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/e2e-common.sh" "$@"
SETTINGS=$XDG_CONFIG_HOME/zibble-quarvel/settings.reg
mkdir -p "$XDG_CONFIG_HOME/zibble-quarvel"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\common]\n"tongue"="0"\n\n' >"$SETTINGS"
export XDG_DATA_HOME=$WORK/data
OWN=$XDG_DATA_HOME/zibble-quarvel
mkdir -p "$OWN"
# Three figures of the shipped file (10 to 12) make the own collection, the second one named.
dd if="$PROGRAM_DIR/zqvl2.dat" of="$OWN/my-quarvels.zqc" bs=24 skip=9 count=3 2>/dev/null
printf '2\town\tMy bird\tMein Vogel\n' >"$OWN/my-quarvels.names"

openbox >/dev/null 2>&1 &
sleep 1
source "$(dirname "${BASH_SOURCE[0]}")/../x11-window.sh"
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }
toolbar() { click $((MX + 2 + $1 * 30 + 14)) $((MY + 16)); }
start_game() {
    "$PROGRAM_DIR/zibble-quarvel" "$@" >>"$WORK/game.log" 2>&1 &
    GAME=$!
}
quit_game() {
    wmctrl -c "Zibble Quarvel - " || fail "wmctrl could not ask the window to close"
    sleep 1
    xdotool key Return # Yes on the quit question; no game was changed, so nothing is asked after it
    for _ in $(seq 100); do kill -0 $GAME 2>/dev/null || break; sleep 0.1; done
    kill -0 $GAME 2>/dev/null && fail "program still running after quit"
    wait $GAME || fail "exit code $?"
}

note "the gallery shows My Quarvels; a click on the second plays it"
start_game
MAIN=$(wait_window '^Zibble Quarvel$' 80) || fail "main window not mapped"
sleep 4.5 # the splash closes after three seconds
read -r MX MY _ < <(inside "$MAIN")
toolbar 5
GALLERY=$(wait_window '^Select Quarvel$' 50) || fail "gallery did not open"
read -r GX GY _ < <(inside "$GALLERY")
click $((GX + 80)) $((GY + 296)) # the collection box below the gallery
xdotool key Down Return
sleep 0.6
click $((GX + 20 + 100 + 45)) $((GY + 20 + 40))
wait_window '^Zibble Quarvel - My Quarvels$' 50 >/dev/null || fail "title after the pick: $(xdotool getwindowname "$MAIN")"
PATTERN=$(wait_window '^Quarvel 2$' 30) || fail "pattern window does not show own Quarvel 2"

note "four help steps reveal it; its progress is kept at once, the game is not touched"
for _ in 1 2 3 4; do toolbar 8; done
sleep 0.5
[ "$(od -An -tu1 -v "$OWN/my-quarvels.zqv" | tr -s ' \n' ' ')" = " 0 12 0 " ] || fail "own progress: $(od -An -tu1 "$OWN/my-quarvels.zqv")"
quit_game
grep -q '^"collection"="own"' "$SETTINGS" || fail "the collection played is not remembered"
grep -q '^"ownlevel"="2"' "$SETTINGS" || fail "the own Quarvel is not remembered"
grep -q '^"level"="1"' "$SETTINGS" || fail "the shipped Quarvel changed"
grep -q '^"save"=""' "$SETTINGS" || fail "a game file was named"

note "the next run goes on with own Quarvel 2, revealed"
start_game
wait_window '^Zibble Quarvel - My Quarvels$' 80 >/dev/null || fail "the restart does not play My Quarvels"
wait_window '^Quarvel 2 - dropped$' 50 >/dev/null || fail "own Quarvel 2 is not shown as revealed"
sleep 4
quit_game

note "a folder given as collection file is reported, and the game runs on"
mkdir "$WORK/folder.zqc"
start_game --collection "$WORK/folder.zqc"
BOX=$(wait_window '^Zibble Quarvel$' 80) || fail "no message about the folder"
import -window root "$WORK/folder-message.png"
xdotool windowactivate "$BOX" key Return
wait_window '^Zibble Quarvel - My Quarvels$' 80 >/dev/null || fail "the game does not go on after the message"
sleep 4

note "a collection file handed to the running game is played, and not changed"
cp "$OWN/my-quarvels.zqc" "$WORK/gift.zqc"
"$PROGRAM_DIR/zibble-quarvel" --collection "$WORK/gift.zqc" >>"$WORK/game.log" 2>&1 || fail "the second start failed"
wait_window '^Zibble Quarvel - Collection gift.zqc$' 50 >/dev/null || fail "the handed collection is not played"
quit_game
cmp -s "$OWN/my-quarvels.zqc" "$WORK/gift.zqc" || fail "the collection file was changed"
grep -q '^"collection"="own"' "$SETTINGS" || fail "a collection file replaced the remembered collection"
note "passed"

#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays the real program under a virtual X display with a window manager, as a
# new player would: first start, language choice, help steps, gallery, quit and
# save; then a start without the data file. Run by run-e2e.sh inside xvfb-run.
set -u
PROGRAM_DIR=$1
WORK=$2
fail() {
    echo "FAIL: $*"
    import -window root "$WORK/failure.png" 2>/dev/null
    for log in "$WORK"/*.log; do echo "== $log"; tail -40 "$log"; done
    exit 1
}
note() { echo "-- $*"; }

export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
SETTINGS=$XDG_CONFIG_HOME/zibble-quarvel/settings.reg

openbox >/dev/null 2>&1 &
sleep 1

source "$(dirname "${BASH_SOURCE[0]}")/../x11-window.sh"
title() { xdotool getwindowname "$1"; }
shot() { import -window root "$WORK/$1.png"; }
# "r,g,b" of a pixel of a screenshot.
pixel() { convert "$WORK/$1.png" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:; }
# Whether any pixel of the 7 by 7 square around (x, y) has the colour (hex, as #RRGGBB).
near() { convert "$WORK/$1.png" -crop 7x7+$(($2 - 3))+$(($3 - 3)) +repage txt:- | grep -qi " $4 "; }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }
# Toolbar button i (0 = new game ... 13 = web page) of the main window at client origin (mx, my).
toolbar() { click $((MX + 2 + $1 * 30 + 14)) $((MY + 16)); }

note "first start with empty settings"
"$PROGRAM_DIR/zibble-quarvel" >"$WORK/game.log" 2>&1 &
GAME=$!
sleep 1.2
shot splash
# The splash is a 200 by 150 window centred on the 1280 by 1024 screen: its middle is not the black root.
[ "$(pixel splash 640 512)" != "0,0,0" ] || fail "no splash in the middle of the screen"

TONGUE=$(wait_window '^Zibble Quarvel V2.3$' 80) || fail "no language dialog after the splash"
read -r TX TY < <(origin "$TONGUE")
note "choose German with the mouse"
click $((TX + 84 + 110)) $((TY + 48 + 13))
sleep 0.5

MAIN=$(wait_window '^Zibble Quarvel$' 50) || fail "main window not mapped"
read -r MX MY < <(origin "$MAIN")
PATTERN=$(wait_window '^Quarvel 1$' 50) || fail "pattern window missing"
sleep 0.5
shot board
# The designed client 464 by 386 below a 33-pixel toolbar: 4-pixel cells, box at (50, 87), 365 by 245.
BX=$((MX + 50)) BY=$((MY + 87))
[ "$(pixel board $((BX + 182)) $((BY + 200)))" = "192,192,192" ] || fail "board is not silver: $(pixel board $((BX + 182)) $((BY + 200)))"
[ "$(pixel board $((BX - 1)) $((BY + 100)))" = "0,0,0" ] || fail "no black frame left of the board"
[ "$(pixel board $((BX - 4)) $((BY + 100)))" = "0,0,0" ] || fail "no thick black frame"
for piece in "9 8" "81 8" "9 53" "81 53"; do
    set -- $piece
    near board $((BX + $1 * 4)) $((BY + $2 * 4)) "#000000" || fail "no black piece parked at $1,$2"
done

note "a help step, then the gallery: pick Quarvel 5"
toolbar 8
sleep 0.3
toolbar 5
GALLERY=$(wait_window '^Quarvel wählen$' 50) || fail "gallery did not open"
read -r GX GY < <(origin "$GALLERY")
click $((GX + 20 + 45)) $((GY + 20 + 85 + 40))
sleep 0.5
[ "$(title "$PATTERN")" = "Quarvel 5" ] || fail "pattern title after the pick: $(title "$PATTERN")"

note "four help steps on Quarvel 5 reveal it in red"
for _ in 1 2 3 4; do toolbar 8; done
sleep 0.3
shot revealed
RED=$(convert "$WORK/revealed.png" -crop 365x245+$BX+$BY +repage -fill black +opaque "rgb(255,0,0)" -format '%[fx:int(mean*w*h*3+0.5)]' info:)
[ "${RED:-0}" -gt 500 ] || fail "revealed pieces are not red ($RED)"
toolbar 12 # the About page repaints the pattern window
sleep 0.8
xdotool key Return
sleep 0.5
case "$(title "$PATTERN")" in
    *" - aufgegeben") ;;
    *) fail "pattern title after revealing: $(title "$PATTERN")" ;;
esac

note "switch to English and back with the language button"
toolbar 10
TONGUE=$(wait_window '^Zibble Quarvel V2.3$' 50) || fail "language button shows no dialog"
read -r TX TY < <(origin "$TONGUE")
click $((TX + 84 + 110)) $((TY + 16 + 13))
toolbar 12
sleep 0.8
xdotool key Return
sleep 0.5
case "$(title "$PATTERN")" in
    *" - dropped") ;;
    *) fail "English pattern title after revealing: $(title "$PATTERN")" ;;
esac
toolbar 10
TONGUE=$(wait_window '^Zibble Quarvel V2.3$' 50) || fail "language button shows no dialog"
read -r TX TY < <(origin "$TONGUE")
click $((TX + 84 + 110)) $((TY + 48 + 13))

note "quit through the window manager, answer Yes, save under a typed name"
wmctrl -c "Zibble Quarvel" || fail "wmctrl could not ask the window to close"
sleep 1
xdotool key Return # endgame page: Enter is Yes
sleep 1.5
xdotool type --delay 20 "$WORK/round1"
xdotool key Return
for _ in $(seq 100); do kill -0 $GAME 2>/dev/null || break; sleep 0.1; done
kill -0 $GAME 2>/dev/null && fail "program still running after quit"
wait $GAME
RC=$?
[ $RC -eq 0 ] || fail "exit code $RC"

[ -f "$WORK/round1.zqv" ] || fail "no game file round1.zqv"
SIZE=$(stat -c %s "$WORK/round1.zqv")
[ "$SIZE" -eq "$(($(stat -c %s "$PROGRAM_DIR/zqvl2.dat") / 24))" ] || fail "game file has $SIZE bytes"
[ "$(od -An -tu1 -j0 -N1 "$WORK/round1.zqv" | tr -d ' ')" = "1" ] || fail "Quarvel 1 does not hold help level 1"
[ "$(od -An -tu1 -j4 -N1 "$WORK/round1.zqv" | tr -d ' ')" = "12" ] || fail "Quarvel 5 is not revealed in the file"
grep -q '^"tongue"="1"' "$SETTINGS" || fail "tongue not stored"
grep -q '^"level"="5"' "$SETTINGS" || fail "level not stored"
grep -q '^"sound"="1"' "$SETTINGS" || fail "sound not stored"
grep -q "^\"save\"=\"$WORK/round1.zqv\"" "$SETTINGS" || fail "save not stored"
grep -Eq '^"MainForm"="200,[0-9-]+,[0-9-]+,[0-9-]+,[0-9-]+,[0-9-]+,[0-9-]+"' "$SETTINGS" || fail "MainForm placement not stored"

note "a start without the data file shows the message and no main window"
mkdir -p "$WORK/nodata"
cp "$PROGRAM_DIR/zibble-quarvel" "$WORK/nodata/"
"$WORK/nodata/zibble-quarvel" >"$WORK/nodata.log" 2>&1 &
NODATA=$!
BOX=$(wait_window 'Zibble Quarvel' 50) || fail "no message without the data file"
sleep 0.5
read -r W H < <(xwininfo -id "$BOX" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
[ "$W" -ne 464 ] || fail "the main window was shown without the data file"
shot nodata
xdotool key Return
for _ in $(seq 50); do kill -0 $NODATA 2>/dev/null || break; sleep 0.1; done
kill -0 $NODATA 2>/dev/null && fail "program did not end after the message"
wait $NODATA
[ $? -ne 0 ] || fail "a start without data reported success"
echo "e2e: all checks passed"

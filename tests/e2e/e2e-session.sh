#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays the real program under a virtual X display with a window manager, as a
# new player would: first start, language choice, help steps, gallery, quit and
# save; then a start without the data file. Run by run-e2e.sh inside xvfb-run.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/e2e-common.sh" "$@"
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
read -r MX MY MW MH < <(inside "$MAIN")
PATTERN=$(wait_window '^Quarvel 1$' 50) || fail "pattern window missing"
# The designed size is the outer one: 464 by 386 with openbox's frame, centred on the screen.
read -r FL FR FT FB < <(xprop -id "$MAIN" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
[ "$((MW + FL + FR))x$((MH + FT + FB))" = 464x386 ] || fail "first-run outer size $((MW + FL + FR))x$((MH + FT + FB))"
[ "$((MX - FL)) $((MY - FT))" = "$(((1280 - 464) / 2)) $(((1024 - 386) / 2))" ] || fail "first run not centred: $MX $MY"
sleep 0.5
shot board
read -r BL BT CELL < <(board_box "$MW" "$MH")
BX=$((MX + BL)) BY=$((MY + BT))
[ "$(pixel board $((BX + CELL * 45 + 2)) $((BY + CELL * 50)))" = "192,192,192" ] || fail "board is not silver"
[ "$(pixel board $((BX - 1)) $((BY + 100)))" = "0,0,0" ] || fail "no black frame left of the board"
[ "$(pixel board $((BX - 4)) $((BY + 100)))" = "0,0,0" ] || fail "no thick black frame"
for piece in "9 8" "81 8" "9 53" "81 53"; do
    set -- $piece
    near board $((BX + $1 * CELL)) $((BY + $2 * CELL)) "#000000" || fail "no black piece parked at $1,$2"
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
RED=$(convert "$WORK/revealed.png" -crop $((CELL * 91 + 1))x$((CELL * 61 + 1))+$BX+$BY +repage -fill black +opaque "rgb(255,0,0)" -format '%[fx:int(mean*w*h*3+0.5)]' info:)
[ "${RED:-0}" -gt 500 ] || fail "revealed pieces are not red ($RED)"
toolbar 12 # the About page repaints the pattern window
sleep 0.8
xdotool key Return
sleep 0.5
case "$(title "$PATTERN")" in
    *" - aufgegeben") ;;
    *) fail "pattern title after revealing: $(title "$PATTERN")" ;;
esac
# The caption bar shows "Quarvel 5 - aufgegeben" whole: its white text ends well
# short of the bar's right end, and is as wide as such a caption (not cut to a few letters).
shot caption
read -r PX PY _ < <(inside "$PATTERN")
TEXT=$(convert "$WORK/caption.png" -crop 181x18+$((PX + 1))+$((PY + 1)) +repage -fill black +opaque white -format '%@' info:)
TEXT_W=${TEXT%%x*} TEXT_X=${TEXT#*+}; TEXT_X=${TEXT_X%%+*}
[ "${TEXT_W:-0}" -gt 100 ] && [ $((TEXT_X + TEXT_W)) -le 171 ] || fail "pattern caption not shown whole: text at $TEXT"

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

note "restarts: the main window, its dialogs and the pattern window keep their places"
# Starts the game on the stored settings, ends the splash with a click; sets GAME, MAIN, PATTERN.
start_game() {
    "$PROGRAM_DIR/zibble-quarvel" >>"$WORK/restarts.log" 2>&1 &
    GAME=$!
    MAIN=$(wait_window '^Zibble Quarvel$' 80) || fail "main window not mapped on a restart"
    PATTERN=$(wait_window '^Quarvel ' 50) || fail "pattern window missing on a restart"
    local splash=
    for _ in $(seq 50); do
        for id in $(xdotool search --onlyvisible --class zibble-quarvel 2>/dev/null); do
            sized "$id" "200 150" && splash=$id
        done
        [ -n "$splash" ] && break
        sleep 0.1
    done
    [ -n "$splash" ] || fail "no splash on a restart"
    read -r SX SY _ < <(inside "$splash")
    click $((SX + 100)) $((SY + 75))
    wait_mapped "$splash" no || fail "the splash stays after a click"
}
# The visible window of that title other than the main and the pattern window.
other_window() {
    for _ in $(seq 50); do
        for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
            [ "$id" != "$MAIN" ] && [ "$id" != "$PATTERN" ] && { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
# Waits until no window of that title but the main and the pattern window is visible.
no_other_window() {
    for _ in $(seq 30); do
        [ -z "$(for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
            [ "$id" != "$MAIN" ] && [ "$id" != "$PATTERN" ] && echo "$id"; done)" ] && return 0
        sleep 0.1
    done
    return 1
}
# Closes the main window and answers Yes on the endgame page.
quit_game() {
    wmctrl -i -c "$MAIN" || fail "wmctrl could not ask the window to close"
    other_window '^Zibble Quarvel$' >/dev/null || fail "no endgame page"
    sleep 0.2
    xdotool key Return
    for _ in $(seq 100); do kill -0 $GAME 2>/dev/null || break; sleep 0.1; done
    kill -0 $GAME 2>/dev/null && fail "program still running after quit"
    wait $GAME || fail "exit code $? after a restart"
}
# Frame extents "left right top bottom" of a window.
frame_of() { xprop -id "$1" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}'; }

start_game
xdotool windowmove "$MAIN" 137 211 windowsize "$MAIN" 702 517
# A game still busy just after its first paint may not yet have taken the move
# in; a dialog would then be centred on where the window was before.
sleep 1.5
LEFT=$(inside "$MAIN")
read -r MX MY MW MH <<<"$LEFT"
[ "$MW $MH" = "702 517" ] || fail "main window not resized: $LEFT"

# Each dialog's first showing in a run lands where its second does; the gallery is
# horizontally centred on the main window's frame, its centre half the main
# client height above the frame's bottom edge.
read -r FL FR FT FB < <(frame_of "$MAIN")
for dialog in "5 ^Quarvel wählen$" "3 ^Quarvel Statistik"; do
    read -r button title <<<"$dialog"
    toolbar $button
    DLG=$(other_window "$title") || fail "toolbar button $button opened nothing"
    FIRST=$(settled "$DLG")
    read -r DL DR DT DB < <(frame_of "$DLG")
    xdotool key Escape
    no_other_window "$title" || fail "dialog of button $button did not close"
    toolbar $button
    AGAIN=$(other_window "$title") || fail "dialog of button $button did not open again"
    SECOND=$(settled "$AGAIN")
    xdotool key Escape
    no_other_window "$title" || fail "dialog of button $button did not close"
    [ "$FIRST" = "$SECOND" ] || fail "dialog of button $button: first showing at $FIRST, second at $SECOND"
    read -r DX DY DW DH <<<"$FIRST"
    OUTER_W=$((DW + DL + DR)) OUTER_H=$((DH + DT + DB)) MAIN_W=$((MW + FL + FR))
    WANT_X=$((MX - FL + (MAIN_W - OUTER_W) / 2))
    WANT_Y=$((MY - FT + MH + FT + FB - (MH + OUTER_H) / 2))
    [ "$((DX - DL)) $((DY - DT))" = "$WANT_X $WANT_Y" ] ||
        fail "dialog of button $button at $((DX - DL)),$((DY - DT)), not over the main window at $WANT_X,$WANT_Y"
done

# The pattern window gets no frame and so no buttons from the window manager; it
# draws its own caption bar, by which the player drags it; it is tied to the main window.
read -r _ _ FLAGS _ DECOR _ < <(xprop -id "$PATTERN" _MOTIF_WM_HINTS | tr -d ',')
[ $((FLAGS & 2)) -ne 0 ] && [ "$DECOR" = 0x0 ] || fail "pattern window asks for decorations: $FLAGS $DECOR"
[ "$(frame_of "$PATTERN")" = "0 0 0 0" ] || fail "pattern window framed by the window manager: $(frame_of "$PATTERN")"
# A loaded game may not yet know where its window stands; the drag starts from there.
sleep 1
read -r PX PY _ < <(settled "$PATTERN")
xdotool mousemove $((PX + 60)) $((PY + 9))
sleep 0.3
xdotool mousedown 1
sleep 0.3
xdotool mousemove $((PX + 90)) $((PY + 29))
sleep 0.2
xdotool mousemove $((PX + 100)) $((PY + 49))
sleep 0.3
xdotool mouseup 1
sleep 0.5
[ "$(origin "$PATTERN")" = "$((PX + 40)) $((PY + 40))" ] ||
    fail "dragging the caption by 40,40 took the pattern window from $PX,$PY to $(origin "$PATTERN")"
xprop -id "$PATTERN" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$MAIN")" || fail "pattern window not tied to the main window"
xdotool windowminimize "$MAIN"
wait_mapped "$PATTERN" no || fail "minimising the game left the pattern window on the desktop"
wmctrl -i -a "$MAIN"
wait_mapped "$PATTERN" yes || fail "restoring the game did not bring the pattern window back"

quit_game

for run in 1 2 3; do
    start_game
    [ "$(inside "$MAIN")" = "$LEFT" ] || fail "restart $run: main window at $(inside "$MAIN"), left at $LEFT"
    [ "$(settled "$PATTERN" | cut -d' ' -f1-2)" = "$((PX + 40)) $((PY + 40))" ] || fail "restart $run: pattern window at $(origin "$PATTERN")"
    if [ $run = 3 ]; then
        wmctrl -i -r "$MAIN" -b add,maximized_vert,maximized_horz
        sleep 0.5
        MAXED=$(inside "$MAIN")
        [ "$MAXED" != "$LEFT" ] || fail "the main window did not maximise"
    fi
    quit_game
done
for run in 1 2 3; do
    start_game
    xprop -id "$MAIN" _NET_WM_STATE | grep -q MAXIMIZED_VERT || fail "maximised restart $run: not maximised"
    [ "$(inside "$MAIN")" = "$MAXED" ] || fail "maximised restart $run: at $(inside "$MAIN"), left at $MAXED"
    if [ $run = 3 ]; then
        wmctrl -i -r "$MAIN" -b remove,maximized_vert,maximized_horz
        sleep 0.5
        [ "$(inside "$MAIN")" = "$LEFT" ] || fail "restored from maximised at $(inside "$MAIN"), not $LEFT"
    fi
    quit_game
done

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

#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A new player's first round with the installed game: install into a temporary
# prefix, start it from there on a virtual display with a window manager,
# choose English, take a help step, quit through the window manager (Yes to the
# question, Escape to the save dialog) and check the screen and the settings.
# Usage: player-check.sh BUILD_DIR [SHOT_DIR]   (SHOT_DIR keeps the screenshots)
set -u
unset DESTDIR
BUILD=$1
SHOTS=${2:-}
if [ -z "${ZQ_PLAYER_DISPLAY:-}" ]; then
    unset QT_QPA_PLATFORM
    ZQ_PLAYER_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

WORK=$(mktemp -d)
MANIFEST=$BUILD/install_manifest.txt
[ -f "$MANIFEST" ] && cp -p "$MANIFEST" "$WORK/saved-manifest"
cleanup() {
    [ -n "${GAME:-}" ] && kill "$GAME" 2>/dev/null
    [ -n "${WM:-}" ] && kill "$WM" 2>/dev/null
    if [ -f "$WORK/saved-manifest" ]; then cp -p "$WORK/saved-manifest" "$MANIFEST"; else rm -f "$MANIFEST"; fi
    [ -n "$SHOTS" ] && mkdir -p "$SHOTS" && cp "$WORK"/*.png "$SHOTS"/ 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    import -window root "$WORK/failure.png" 2>/dev/null
    [ -f "$WORK/game.log" ] && tail -40 "$WORK/game.log"
    exit 1
}
note() { echo "-- $*"; }
source "$(dirname "${BASH_SOURCE[0]}")/../x11-window.sh"
shot() { import -window root "$WORK/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }
toolbar() { click $((MX + 2 + $1 * 30 + 14)) $((MY + 16)); }
# The board box of a screenshot.
board() { convert "$WORK/$1.png" -crop $((CELL * 91 + 1))x$((CELL * 61 + 1))+$((MX + BL))+$((MY + BT)) +repage "$WORK/$1-board.png"; }
# How many pixels of the board box differ between two screenshots.
board_change() { board "$1" && board "$2" && compare -metric AE "$WORK/$1-board.png" "$WORK/$2-board.png" null: 2>&1; }

note "install into a temporary prefix"
PREFIX=$WORK/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || { cat "$WORK/install.log"; fail "install failed"; }

export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
openbox >/dev/null 2>&1 &
WM=$!
sleep 1

note "start the installed program from the home folder"
(cd "$HOME" && exec "$PREFIX/bin/zibble-quarvel") >"$WORK/game.log" 2>&1 &
GAME=$!
TONGUE=$(wait_window '^Zibble Quarvel V2.3$' 100) || fail "no language question on the first start"
read -r TX TY < <(origin "$TONGUE")
click $((TX + 84 + 110)) $((TY + 16 + 13)) # English
MAIN=$(wait_window '^Zibble Quarvel$' 50) || fail "main window not mapped"
wait_window '^Quarvel 1$' 50 >/dev/null || fail "pattern window missing"
read -r MX MY MW MH < <(inside "$MAIN")
read -r BL BT CELL < <(board_box "$MW" "$MH")
sleep 0.5
shot started
[ "$(convert "$WORK/started.png" -crop 1x1+$((MX + BL + CELL * 45))+$((MY + BT + CELL * 50)) -format '%[hex:p{0,0}]' info:)" = C0C0C0 ] ||
    fail "no silver board in the main window"

note "one help step lays two pieces in their places"
toolbar 8 # TipBtn
sleep 0.5
shot help
CHANGED=$(board_change started help)
echo "   $CHANGED board pixels changed"
[ "${CHANGED%%.*}" -gt 200 ] 2>/dev/null || fail "the help step changed $CHANGED board pixels"

note "quit: Yes to the question, Escape to the save dialog"
wmctrl -c "Zibble Quarvel" || fail "wmctrl could not ask the window to close"
sleep 1
xdotool key Return
wait_window 'Save|Speichern' 50 >/dev/null || fail "no save dialog for the modified game"
sleep 0.5
shot save-dialog
xdotool key Escape
for _ in $(seq 100); do kill -0 "$GAME" 2>/dev/null || break; sleep 0.1; done
kill -0 "$GAME" 2>/dev/null && fail "program still running after quit"
wait "$GAME"
RC=$?
GAME=
[ $RC -eq 0 ] || fail "exit code $RC"
SETTINGS=$XDG_CONFIG_HOME/zibble-quarvel/settings.reg
grep -q '^"tongue"="0"' "$SETTINGS" || fail "English not stored: $(cat "$SETTINGS")"
grep -q '^"level"="1"' "$SETTINGS" || fail "level not stored"
[ -z "$(find "$PREFIX" -newer "$WORK/install.log" -type f)" ] || fail "the program wrote into its installation"
echo "player: all checks passed"

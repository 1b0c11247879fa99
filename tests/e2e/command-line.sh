#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program's command line. Options first, with no display at all: --help and
# --version must print and end before any window (or the settings) is touched, and a
# wrong option must be refused with exit code 2. Then, on a virtual display, a saved
# game named on the command line: a readable one (shorter than the library) is opened
# and becomes the stored game; a missing one is reported and the stored game is played.
# Usage: command-line.sh PROGRAM VERSION
set -u
PROGRAM=$1
VERSION=$2
fail() {
    echo "FAIL: $*"
    for log in "$WORK"/*.log; do [ -f "$log" ] && { echo "== $log"; tail -20 "$log"; }; done
    exit 1
}
note() { echo "-- $*"; }

if [ -z "${ZQ_COMMAND_LINE_WINDOWS:-}" ]; then
    WORK=$(mktemp -d)
    trap 'rm -rf "$WORK"' EXIT
    # Without a display the toolkit cannot start: whatever succeeds here opened no window.
    run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" \
        timeout 20 "$PROGRAM" "$@" >"$WORK/out" 2>"$WORK/err"; }
    note "--help and -h"
    for option in --help -h; do
        run "$option" || fail "$option exit code $?"
        [ "$(head -1 "$WORK/out")" = "Usage: zibble-quarvel [options] [file]" ] || fail "$option usage line: $(head -1 "$WORK/out")"
        grep -q -- '--version' "$WORK/out" || fail "$option does not name --version"
        [ ! -s "$WORK/err" ] || fail "$option wrote to stderr: $(cat "$WORK/err")"
    done
    note "--version and -v"
    for option in --version -v; do
        run "$option" || fail "$option exit code $?"
        [ "$(cat "$WORK/out")" = "zibble-quarvel $VERSION" ] || fail "$option printed: $(cat "$WORK/out")"
    done
    note "wrong options and arguments"
    for wrong in --bogus -x "one.zqv two.zqv" "-platform"; do
        # shellcheck disable=SC2086 # the cases are split into their arguments on purpose
        run $wrong
        rc=$?
        [ $rc -eq 2 ] || fail "'$wrong' exit code $rc, not 2"
        [ ! -s "$WORK/out" ] || fail "'$wrong' wrote to stdout"
        grep -q '^Usage: zibble-quarvel' "$WORK/err" || fail "'$wrong' gave no usage: $(cat "$WORK/err")"
    done
    grep -q "zibble-quarvel: Missing value after '-platform'" "$WORK/err" || fail "no reason for the missing value"
    for typed in --bogus -bogus --bogus=1; do
        run "$typed"
        grep -q "^zibble-quarvel: Unknown option '$typed'\.$" "$WORK/err" || fail "'$typed' is not named as typed: $(cat "$WORK/err")"
    done
    note "no display: one line and status 1, also after the window system's own options"
    for options in "" "-display :4711 -geometry 500x400+10+10 -title T -name n -style fusion --reverse -session s"; do
        # shellcheck disable=SC2086 # the options are split into their arguments on purpose
        run $options
        rc=$?
        [ $rc -eq 1 ] || fail "'$options' without a display: exit code $rc, not 1"
        display=$([ -n "$options" ] && echo "display ':4711'" || echo "a display (DISPLAY is not set)")
        [ "$(cat "$WORK/err")" = "zibble-quarvel: cannot open $display" ] || fail "'$options': $(cat "$WORK/err")"
    done
    [ -z "$(ls -A "$WORK")" ] || [ "$(ls -A "$WORK")" = "$(printf 'err\nout')" ] || fail "files written: $(ls -A "$WORK")"
    unset QT_QPA_PLATFORM
    ZQ_COMMAND_LINE_WINDOWS=1 exec "$(dirname "$0")/../with-openbox.sh" "$0" "$@"
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../x11-window.sh"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME/zibble-quarvel" "$XDG_RUNTIME_DIR" "$WORK/games"
chmod 700 "$XDG_RUNTIME_DIR"
SETTINGS=$XDG_CONFIG_HOME/zibble-quarvel/settings.reg
GAMES=$WORK/games
head -c 1000 /dev/zero >"$GAMES/stored.zqv"
printf '\014\002\001' >"$GAMES/short.zqv"
# English, and a stored game from an earlier run.
store_settings() {
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\common]\n"tongue"="0"\n"save"="%s"\n' \
        "$GAMES/stored.zqv" >"$SETTINGS"
}
# Closes the main window and answers Yes on the quit question; the program must end with 0.
quit_game() {
    wmctrl -i -c "$1" || fail "wmctrl could not ask the window to close"
    local question=
    for _ in $(seq 50); do
        question=$(xdotool search --onlyvisible --name '^Zibble Quarvel$' 2>/dev/null | grep -vx "$1" | head -1)
        [ -n "$question" ] && break
        sleep 0.1
    done
    [ -n "$question" ] || fail "no quit question"
    sleep 0.3
    xdotool windowactivate --sync "$question" key Return
    for _ in $(seq 100); do kill -0 "$GAME" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$GAME" 2>/dev/null && fail "still running after the quit"
    wait "$GAME" || fail "exit code $? after the quit"
}

note "a saved game shorter than the library, named relative to the working folder"
store_settings
(cd "$GAMES" && exec "$PROGRAM" short.zqv) >"$WORK/short.log" 2>&1 &
GAME=$!
MAIN=$(wait_window '^Zibble Quarvel - Game short\.zqv$' 150) || fail "no main window titled with short.zqv"
quit_game "$MAIN"
grep -qx "\"save\"=\"$GAMES/short.zqv\"" "$SETTINGS" || fail "the named game is not stored by its full path: $(grep save "$SETTINGS")"
[ "$(stat -c %s "$GAMES/short.zqv")" -eq 3 ] || fail "the unchanged game was written back"

note "a missing saved game is reported, then the stored game is played"
store_settings
"$PROGRAM" "$GAMES/gone.zqv" >"$WORK/gone.log" 2>&1 &
GAME=$!
# The message comes before the main window; nothing else is titled so yet.
MESSAGE=$(wait_window '^Zibble Quarvel$' 100) || fail "no message for the missing file"
xdotool search --onlyvisible --name '^Zibble Quarvel - ' >/dev/null 2>&1 && fail "main window shown before the message"
sleep 0.3
xdotool windowactivate --sync "$MESSAGE" key Return
MAIN=$(wait_window '^Zibble Quarvel - Game stored\.zqv$' 150) || fail "the stored game is not played after the message"
quit_game "$MAIN"
grep -qx "\"save\"=\"$GAMES/stored.zqv\"" "$SETTINGS" || fail "the stored game changed: $(grep save "$SETTINGS")"
[ ! -e "$GAMES/gone.zqv" ] || fail "the missing file was created"
echo "command line: all checks passed"

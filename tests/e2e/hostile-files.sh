#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program as a normal user under openbox against files of every kind, planted links, a
# damaged placement, signals during play and a second start: nothing may hang, lose progress or
# write where it should not.
# Usage: hostile-files.sh PROGRAM
set -u
PROGRAM=$1
if [ -z "${ZQ_WITH_OPENBOX:-}" ]; then
    exec "$(dirname "$0")/../with-openbox.sh" "$0" "$@"
fi
source "$(dirname "${BASH_SOURCE[0]}")/../x11-window.sh"
WORK=$(mktemp -d)
trap 'kill $GAME 2>/dev/null; rm -rf "$WORK"' EXIT
GAME=
fail() {
    echo "FAIL: $*"
    import -window root "$WORK/failure.png" 2>/dev/null
    for log in "$WORK"/*.log; do [ -f "$log" ] && { echo "== $log"; tail -c 2000 "$log"; }; done
    exit 1
}
note() { echo "-- $*"; }
chmod 755 "$WORK"
# As root, the game runs as nobody, so that permissions and ownership bind it.
PLAYER=()
if [ "$(id -u)" -eq 0 ]; then
    PLAYER=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    cp "${XAUTHORITY:-/dev/null}" "$WORK/xauth" 2>/dev/null && chmod 644 "$WORK/xauth" && export XAUTHORITY=$WORK/xauth
fi
H=$WORK/home G=$WORK/games S=$WORK/home/.config/zibble-quarvel/settings.reg
RECOVERY=$WORK/home/.local/share/zibble-quarvel/recovery.zqv
# A fresh player: English, a stored game of 1000 untouched Quarvels, and `extra` settings lines.
fresh() {
    rm -rf "$H" "$G"
    mkdir -p "$H/.config/zibble-quarvel" "$G" "$H/run"
    head -c 1000 /dev/zero >"$G/stored.zqv"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZibbleGames\\ZibbleQuarvel\\V2\\common]\n"tongue"="0"\n"save"="%s"\n%s\n' \
        "${1-$G/stored.zqv}" "${2:-}" >"$S"
    chmod 700 "$H/run"
    [ ${#PLAYER[@]} -eq 0 ] || chown -R 65534:65534 "$H" "$G"
}
start() {
    (cd "$G" && exec env HOME="$H" XDG_CONFIG_HOME= XDG_DATA_HOME= XDG_RUNTIME_DIR="$H/run" "${PLAYER[@]}" \
        "$PROGRAM" "$@") >"$WORK/game.log" 2>&1 &
    GAME=$!
}
# A help step on the board makes the game modified.
help_step() { sleep 1; xdotool windowactivate --sync "$1" key h || fail "no key for the help step"; sleep 0.5; }
# The game must end by itself with status 0 (after a signal $1, if given).
terminate() {
    [ -z "$1" ] || kill -"$1" "$GAME"
    for _ in $(seq 100); do kill -0 "$GAME" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$GAME" 2>/dev/null && fail "still running (SIG$1)"
    wait "$GAME" || fail "exit status $? (SIG$1)"
}
# A visible window of that title other than the given one, waited for up to 10 seconds.
other_than() {
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --name "$2" 2>/dev/null); do
            [ "$id" != "$1" ] && { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
first_byte() { od -An -tu1 -N1 "$1" | tr -d ' '; }

note "files that are no regular game files are refused with the load message, and the stored game is played"
mkfifo "$WORK/fifo.zqv"
mkdir "$WORK/folder.zqv"
python3 -c "import socket,sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])" "$WORK/socket.zqv"
for file in "$WORK/fifo.zqv" "$WORK/folder.zqv" /dev/zero "$WORK/socket.zqv"; do
    fresh
    start "$file"
    MESSAGE=$(wait_window '^Zibble Quarvel$' 100) || fail "$file: no message (hangs?)"
    xdotool windowactivate --sync "$MESSAGE" key Return
    MAIN=$(wait_window '^Zibble Quarvel - Game stored\.zqv$' 100) || fail "$file: the stored game is not played"
    terminate TERM
    [ -p "$WORK/fifo.zqv" ] && [ -d "$WORK/folder.zqv" ] && [ -S "$WORK/socket.zqv" ] || fail "$file: a file kind changed"
done

note "a FIFO in place of the settings does not hang the start"
fresh
rm "$S" && mkfifo "$S" && { [ ${#PLAYER[@]} -eq 0 ] || chown 65534:65534 "$S"; }
start
wait_window '^Zibble Quarvel' 150 >/dev/null || fail "no window with a FIFO for settings"
terminate TERM
[ -p "$S" ] || fail "the settings FIFO was replaced"

note "a name that is not UTF-8 is opened, titled and stored by its bytes"
fresh
printf '\002' >"$G/bad"$'\xff'".zqv"
[ ${#PLAYER[@]} -eq 0 ] || chown 65534:65534 "$G/bad"$'\xff'".zqv"
start "bad"$'\xff'".zqv"
MAIN=$(wait_window '^Zibble Quarvel - Game bad.*\.zqv$' 150) || fail "the game with a non-UTF-8 name is not opened"
help_step "$MAIN"
terminate TERM
grep -aq "\"save\"=\"$G/bad"$'\xff'".zqv\"" "$S" || fail "the name is not stored by its bytes: $(grep -a save "$S")"
[ "$(first_byte "$G/bad"$'\xff'".zqv")" != 2 ] || fail "the modified game was not saved at SIGTERM"

note "SIGHUP with a game that was never saved keeps it for the next start, which offers it"
fresh ""
start
sleep 4 # past the splash, which bears the same title
MAIN=$(wait_window '^Zibble Quarvel$' 150) || fail "no main window"
help_step "$MAIN"
terminate HUP
[ -s "$RECOVERY" ] || fail "no recovery file"
[ "$(first_byte "$RECOVERY")" = 1 ] || fail "the recovery file does not hold the help step"
for answer in none Return; do
    start
    MAIN=$(wait_window '^Zibble Quarvel$' 150) || fail "no main window"
    QUESTION=$(other_than "$MAIN" '^Zibble Quarvel$') || fail "the kept game is not offered"
    [ $answer = none ] || break
    # The session ends while the question is up: unanswered, the kept game stays kept.
    terminate TERM
    [ "$(first_byte "$RECOVERY")" = 1 ] || fail "the kept game was lost at the end of a session"
done
sleep 0.3
xdotool windowactivate --sync "$QUESTION" key Return
sleep 1
[ ! -e "$RECOVERY" ] || fail "the recovery file was not taken"
terminate INT
[ "$(first_byte "$RECOVERY")" = 1 ] || fail "the recovered progress was not kept again"

note "a second start hands its file to the running game and ends"
fresh
printf '\003' >"$G/other.zqv"
[ ${#PLAYER[@]} -eq 0 ] || chown 65534:65534 "$G/other.zqv"
start
FIRST=$GAME
MAIN=$(wait_window '^Zibble Quarvel - Game stored\.zqv$' 150) || fail "no first game"
start other.zqv
terminate ""
GAME=$FIRST
wait_window '^Zibble Quarvel - Game other\.zqv$' 50 >/dev/null || fail "the running game did not open the handed file"
[ "$(xdotool search --onlyvisible --name '^Zibble Quarvel - ' | wc -l)" -eq 1 ] || fail "two main windows"
terminate TERM

note "a stored window rectangle far larger than the screen is brought onto it"
fresh "" '"MainForm"="200,0,1,2000000000,2000000000,2100000000,2100000000"'
start
MAIN=$(wait_window '^Zibble Quarvel$' 150) || fail "no main window for the huge placement"
sleep 3
read -r x y w h < <(inside "$MAIN")
[ "$w" -le 1280 ] && [ "$h" -le 1024 ] && [ "$x" -ge 0 ] && [ "$y" -ge 0 ] || fail "window at $x $y size $w x $h"
[ "$(stat -c %s "$WORK/game.log")" -lt 20000 ] || fail "the log floods: $(stat -c %s "$WORK/game.log") bytes"
terminate TERM

if [ ${#PLAYER[@]} -ne 0 ]; then
    note "sticky shared folder: another user's planted link is not followed, their writable file is written in place"
    # While the game runs, another user (daemon) puts a link to the player's own file at its game file's path.
    fresh "$WORK/shared/planted.zqv"
    mkdir -m 1777 "$WORK/shared"
    printf 'mine' >"$G/own.zqv" && chown 65534:65534 "$G/own.zqv"
    start
    MAIN=$(wait_window '^Zibble Quarvel - Game planted\.zqv$' 150) || fail "no main window"
    ln -s "$G/own.zqv" "$WORK/shared/planted.zqv" && chown -h 1:1 "$WORK/shared/planted.zqv"
    help_step "$MAIN"
    terminate TERM
    [ "$(cat "$G/own.zqv")" = mine ] || fail "the planted link was followed"
    [ "$(first_byte "$RECOVERY")" = 1 ] || fail "the progress was not kept elsewhere"

    fresh "$WORK/shared/common.zqv"
    head -c 1000 /dev/zero >"$WORK/shared/common.zqv" && chmod 666 "$WORK/shared/common.zqv"
    start
    MAIN=$(wait_window '^Zibble Quarvel - Game common\.zqv$' 150) || fail "no main window"
    help_step "$MAIN"
    terminate TERM
    [ "$(first_byte "$WORK/shared/common.zqv")" = 1 ] || fail "the writable file in the sticky folder was not saved"
    [ "$(stat -c %U "$WORK/shared/common.zqv")" = root ] || fail "the file changed hands"
fi
echo "hostile files: all checks passed"

# SPDX-License-Identifier: GPL-3.0-or-later
# What every end-to-end session starts with: its arguments, failure reports with a
# screenshot and the logs, and a home, settings and runtime folder of its own.
# Sourced by the session scripts, which run-e2e.sh starts inside xvfb-run.
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

# Driving the board by keys (the sessions set CELL, BX and BY, the board's cell size and place).
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

# Starts the game, makes its main window 1000 by 740 and waits out the splash; sets
# GAME, MAIN, PATTERN, the client area MX MY MW MH and the board's BX, BY and CELL.
start_on_board() {
    "$PROGRAM_DIR/zibble-quarvel" >>"$WORK/game.log" 2>&1 &
    GAME=$!
    MAIN=$(wait_window "${1:-^Zibble Quarvel}" 80) || fail "main window not mapped"
    PATTERN=$(wait_window '^Quarvel 1$' 50) || fail "pattern window missing"
    xdotool windowsize "$MAIN" 1000 740
    sleep 4.5 # the splash closes after three seconds
    read -r MX MY MW MH < <(inside "$MAIN")
    read -r BL BT CELL < <(board_box "$MW" "$MH")
    BX=$((MX + BL)) BY=$((MY + BT))
}

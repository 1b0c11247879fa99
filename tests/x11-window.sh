# SPDX-License-Identifier: GPL-3.0-or-later
# Shell helpers shared by the scripts that drive the real program on a virtual display.

# Waits for a visible window whose title matches the pattern; prints its id.
wait_window() {
    local pattern=$1 tries=${2:-100} id
    for _ in $(seq "$tries"); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Absolute position of a window's client area: "x y".
origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}'; }
# Position and size of a window's client area: "x y width height".
inside() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'; }
# The board box in a main window's client area of that width and height, below
# the 33-pixel toolbar: "left top cell" in client pixels. Whole square cells,
# one cell of margin around the 91 by 61 board, the board centred.
board_box() {
    local w=$1 h=$(($2 - 33)) cell
    cell=$((w / 93 < h / 63 ? w / 93 : h / 63))
    echo $(((w - cell * 91) / 2)) $(((h - cell * 61) / 2 + 33)) "$cell"
}
# Position and size once the window has stopped moving: a loaded machine may show a
# window before the window manager has put it in its place.
settled() {
    local was now
    was=$(inside "$1" 2>/dev/null)
    for _ in $(seq 20); do
        sleep 0.2
        now=$(inside "$1" 2>/dev/null)
        [ "$now" = "$was" ] && break
        was=$now
    done
    echo "$was"
}
# Whether a visible window has the size "width height".
sized() { [ "$(inside "$1" | cut -d' ' -f3-)" = "$2" ]; }
# Waits until the window is mapped (viewable) or unmapped; fails after 3 seconds.
wait_mapped() {
    local want=$2
    for _ in $(seq 30); do
        if xwininfo -id "$1" | grep -q 'IsViewable'; then [ "$want" = yes ] && return 0
        else [ "$want" = no ] && return 0; fi
        sleep 0.1
    done
    return 1
}

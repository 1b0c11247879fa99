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

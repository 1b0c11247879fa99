#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on its own virtual display under openbox, so that windows get
# a real frame: with-openbox.sh COMMAND [ARG...]
set -eu
if [ -z "${ZQ_WITH_OPENBOX:-}" ]; then
    unset QT_QPA_PLATFORM
    ZQ_WITH_OPENBOX=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null' EXIT
# The window manager is ready once it has claimed the screen.
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
"$@"

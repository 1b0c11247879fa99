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

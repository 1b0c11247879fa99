#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program as an unprivileged user. Permissions do not bind root, so
# read-only files and folders prove nothing in a run as root (as in CI); run by
# anyone else, the program runs as it is.
# Usage: as-normal-user.sh PROGRAM [ARGUMENTS...]
set -eu
if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi
uid=$(id -u nobody)
gid=$(id -g nobody)
as_user() { setpriv --reuid="$uid" --regid="$gid" --clear-groups "$@"; }

# A folder of its own that the user owns: its home, temporary files and runtime folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
chown -R "$uid:$gid" "$work"

# The build folder may lie where the user cannot reach it: then a copy runs.
program=$1
shift
if ! as_user test -x "$program"; then
    cp "$program" "$work/"
    program=$work/$(basename "$program")
    chmod 755 "$program"
fi
status=0
HOME=$work TMPDIR=$work TEST_TMPDIR=$work XDG_RUNTIME_DIR=$work/run as_user "$program" "$@" || status=$?
exit "$status"

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the end-to-end session on its own virtual display.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
program_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/e2e-session.sh" "$program_dir" "$work"

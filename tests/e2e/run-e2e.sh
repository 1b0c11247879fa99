#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs an end-to-end session (e2e-session.sh unless another is named) on its own virtual display (ZQ_E2E_SCREEN).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
program_dir=$1
session=${2:-e2e-session.sh}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 ${ZQ_E2E_SCREEN:-1280x1024}x24" bash "$here/$session" "$program_dir" "$work"

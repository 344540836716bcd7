#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program as a screen reader meets it: a portable copy with the sample game registered, started
# under Xvfb on a session bus of its own, its objects walked over AT-SPI (atspi_walk.py).
# Usage: tests/accessibility/run.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/program/dat"
cp "$build/tarnwell" "$work/program/"
cp "$build/dat/QVX.dat" "$work/program/dat/"
cp -r "$here/../../examples/Quillvane" "$work/Game"
printf 'QVXEXE=%s\r\n' "$work/Game/Binaries/QVX.EXE" > "$work/program/Tarnwell.dat"

# The walk bounds each of its waits; the outer limit ends whatever still hangs.
timeout --kill-after=10 180 xvfb-run -a -s '-screen 0 1280x1024x24' \
    dbus-run-session -- /usr/bin/python3 "$here/atspi_walk.py" "$work/program/tarnwell"

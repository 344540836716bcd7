#!/usr/bin/env bash
# Applies the user's change to a 60 MB settings file RUNS times (default 50), while another process,
# standing for the game, changes another line of it at a random moment of the write; prints in how
# many runs the game's change was kept (goal: all).
# Usage: bench/files/run.sh BUILD_DIR [FOLDER]  (FOLDER: where the files go; default: a temporary folder)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cmake --build "$build" --target bench_lastlook >/dev/null
"$build/bench/bench_lastlook" "${RUNS:-50}" ${2:+"$2"}

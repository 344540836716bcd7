#!/usr/bin/env bash
# The search on a player's machine (Steam's three libraries, Heroic's 500 games, 200 folders in
# ~/Games) with 200, 2,000 and 20,000 Steam games, in one run: entries read and milliseconds (best of
# RUNS, default 7, with a warm cache) for each, and the cost per game. Goal: the game found at every
# size, 2,000 games under 100 ms, cost linear in the games.
# Usage: bench/discovery/run.sh BUILD_DIR [FOLDER]  (FOLDER: where the machines go; default: a temporary folder)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cmake --build "$build" --target bench_discovery >/dev/null
"$build/bench/bench_discovery" "${RUNS:-7}" ${2:+"$2"}

#!/usr/bin/env bash
# Reads and writes settings files of 5 KB, 1 MB and 50 MB; prints MB/s, peak memory and ratios.
# Usage: bench/settings/run.sh BUILD_DIR [FOLDER]  (FOLDER: where the files go; default: a temporary folder)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cmake --build "$build" --target bench_settings >/dev/null
"$build/bench/bench_settings" ${2:+"$2"}

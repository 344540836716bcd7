#!/usr/bin/env bash
# "Launch" and the search for installations beside 400 manifests of 4 MiB; best of 5 runs each.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
bench="$build/bench/bench_steam"
[ -x "$bench" ] || cmake --build "$build" --target bench_steam >/dev/null
"$bench"

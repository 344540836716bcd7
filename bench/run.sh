#!/usr/bin/env bash
# Runs every area's benchmark against the build folder given (default: build).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for script in "$here"/*/run.sh; do
    echo "== $(basename "$(dirname "$script")")"
    bash "$script" "$build"
done

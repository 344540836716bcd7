#!/usr/bin/env bash
# Runs each fuzz target for SECONDS (default 60) on a corpus seeded from examples/ and dat/.
# Usage: tests/fuzz/run.sh BUILD_DIR [SECONDS]. The corpus grows in BUILD_DIR/fuzz/corpus/<target>;
# an input that fails a check is kept as BUILD_DIR/fuzz/crash-<target>-*.
set -euo pipefail
build=$(cd "${1:-build-fuzz}" && pwd)
seconds=${2:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
game="$root/examples/Quillvane"

seed() { # target files...
    local corpus="$build/fuzz/corpus/$1"; shift
    mkdir -p "$corpus"
    cp "$@" "$corpus/"
}
seed settings "$game/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML" "$game/Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML"
seed versionlist "$root/dat/QVX.dat"
seed configfile "$root/dat/QVX.dat"
seed keyvalues "$root/tests/fuzz/seeds/libraryfolders.vdf" "$root/tests/fuzz/seeds/appmanifest.acf"
printf 'QVXEXE=%s\r\n' "$game/Binaries/QVX.EXE" >"$build/fuzz/corpus/configfile/Tarnwell.dat"

# The configuration target writes a file per input: memory-backed temporary files keep that cheap.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=halt_on_error=1:print_stacktrace=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for target in settings versionlist configfile keyvalues; do
    echo "== fuzz_$target for $seconds s"
    log="$build/fuzz/$target.log"
    if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/fuzz/crash-$target-" "$build/fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz_$target failed; the input is kept in $build/fuzz" >&2
        exit 1
    fi
    grep -E '^(Done|stat::(number_of_executed_units|new_units_added|peak_rss_mb))' "$log"
done

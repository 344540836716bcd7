#!/usr/bin/env bash
# The delay a profile adds to each start of the game: `tarnwell --profile NAME -- true` against `true`
# alone, as whole-process times, in one run with the two taking turns. Goal: under 50 ms more than
# `true` on the sample game.
#  - "unchanged": the files already hold the profile's values, as at every start with one profile;
#  - "switching": Handheld and Docked by turns, so that each run writes both files (a backup first).
# Usage: bench/profiles/run.sh BUILD_DIR. RUNS (default 30) runs of each.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-30}
[ -x "$build/tarnwell" ] || cmake --build "$build" --target tarnwell >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A portable copy registered to a copy of the sample game, with per-user folders of its own and no display.
mkdir -p "$work/program/dat"
cp "$build/tarnwell" "$work/program/"
cp "$build/dat/QVX.dat" "$work/program/dat/"
cp -r "$(dirname "$0")/../../examples/Quillvane" "$work/Game"
printf 'QVXEXE=%s\r\n' "$work/Game/Binaries/QVX.EXE" >"$work/program/Tarnwell.dat"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
unset DISPLAY WAYLAND_DISPLAY
tarnwell="$work/program/tarnwell"
true_program=$(type -P true)
"$tarnwell" --save-profile Docked
"$tarnwell" --set Brightness=90 --set UseHDR=false --set ResolutionWidth=1280 --set ResolutionHeight=800
"$tarnwell" --save-profile Handheld
"$tarnwell" --profile Docked

# Milliseconds of one whole process, its output dropped.
took() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null
    awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f", (b - a) * 1000 }'
}
declare -A times
for i in $(seq "$runs"); do
    profile=$([ $((i % 2)) -eq 0 ] && echo Docked || echo Handheld)
    times[true]+="$(took "$true_program") "
    times[unchanged]+="$(took "$tarnwell" --profile Docked -- "$true_program") "
    times[switching]+="$(took "$tarnwell" --profile "$profile" -- "$true_program") "
done
"$tarnwell" --profile Docked # both files as the unchanged runs had them
[ "$("$tarnwell" --get Brightness)" = 120 ] || { echo "the profile was not applied" >&2; exit 1; }

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
minimum() { tr ' ' '\n' | grep -v '^$' | sort -g | head -1; }
printf 'runs of each: %d, taking turns\n' "$runs"
printf '%-46s %10s %10s %12s\n' command median minimum "added (med)"
base=$(echo "${times[true]}" | median)
for kind in true unchanged switching; do
    case $kind in
    true) label="true" ;;
    unchanged) label="tarnwell --profile Docked -- true" ;;
    switching) label="tarnwell --profile Handheld|Docked -- true" ;;
    esac
    med=$(echo "${times[$kind]}" | median)
    printf '%-46s %7.1f ms %7.1f ms %9.1f ms\n' "$label" "$med" "$(echo "${times[$kind]}" | minimum)" \
        "$(awk -v m="$med" -v b="$base" 'BEGIN { print m - b }')"
done
echo "goal: under 50 ms added"

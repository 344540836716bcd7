#!/usr/bin/env bash
# Time to the first painted window and the main process's memory then, with the banner module
# beside the program and without it, runs interleaved. Goal: with <= 1.1 x without.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-15}
harness="$build/bench/tarnwell_firstpaint"
module="$build/libtarnwell_banner.so"
[ -x "$harness" ] || { echo "build the benchmarks first: cmake --build $build --target benchmarks"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A small installation of the game and two copies of the tool, one with the module beside it.
game="$work/Games/Quillvane"
mkdir -p "$game/Binaries/SETTINGS" "$game/GAMEDATA/SHADERCACHE"
head -c 65536 /dev/urandom > "$game/Binaries/QVX.EXE"
printf '<Data>\r\n</Data>\r\n' > "$game/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"
printf '<Data>\r\n</Data>\r\n' > "$game/Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML"
for kind in absent present; do
    mkdir -p "$work/$kind/dat"
    cp "$harness" "$work/$kind/tarnwell"
    cp "$build/dat/QVX.dat" "$work/$kind/dat/QVX.dat"
    printf 'QVXEXE=%s\r\n' "$game/Binaries/QVX.EXE" > "$work/$kind/Tarnwell.dat"
done
if [ -f "$module" ]; then
    cp "$module" "$work/present/"
else
    echo "note: built without Qt WebEngine; both runs are without the module"
fi

export QT_QPA_PLATFORM=offscreen
declare -A times rss after banner
for i in $(seq 1 "$runs"); do
    # Alternating which goes first keeps the order of the pair out of the figures.
    order="absent present"
    [ $((i % 2)) -eq 0 ] && order="present absent"
    for kind in $order; do
        sleep 0.5 # let the previous run's processes go before the clock starts
        out=$("$work/$kind/tarnwell" "$(date +%s%N)" 2>/dev/null | tail -1)
        eval "$(echo "$out" | tr ' ' '\n' | sed -n 's/^\(first_paint_ms\|rss_kb\|banner\|rss_after_kb\)=\(.*\)$/\1=\2/p')"
        times[$kind]+="$first_paint_ms "
        rss[$kind]+="$rss_kb "
        after[$kind]+="$rss_after_kb "
        banner[$kind]=$banner
        [ -n "${VERBOSE:-}" ] && echo "$kind $out"
    done
done

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
minimum() { tr ' ' '\n' | grep -v '^$' | sort -g | head -1; }
mb() { echo "$1/1024" | bc -l; }
# Other work on the machine only ever adds time, so the minimum is shown beside the median.
printf '%-8s %14s %12s %20s %20s %7s\n' module "paint median" "paint min" "RSS at paint (MB)" "RSS 1.5 s on (MB)" banner
for kind in absent present; do
    printf '%-8s %11.1f ms %9.1f ms %20.1f %20.1f %7s\n' "$kind" "$(echo "${times[$kind]}" | median)" \
        "$(echo "${times[$kind]}" | minimum)" "$(mb "$(echo "${rss[$kind]}" | median)")" \
        "$(mb "$(echo "${after[$kind]}" | median)")" "${banner[$kind]}"
done
ratio() { echo "$(echo "${2}" | $1)/$(echo "${3}" | $1)" | bc -l; }
printf 'present/absent over %d interleaved runs: first paint %.2f (median), %.2f (minimum), goal <= 1.10; memory at first paint %.2f\n' \
    "$runs" "$(ratio median "${times[present]}" "${times[absent]}")" \
    "$(ratio minimum "${times[present]}" "${times[absent]}")" "$(ratio median "${rss[present]}" "${rss[absent]}")"

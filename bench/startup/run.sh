#!/usr/bin/env bash
# Time to the first painted window and the main process's memory then, in three comparisons, each with
# its runs interleaved and all figures from this one run:
#  - the program registered to the sample game of examples/ against a bare window with as many controls
#    of each kind and no pictures or files (goal: <= 1.0 x): what the program's start adds to Qt's own;
#  - the banner module beside the program against none (goal: with <= 1.1 x without);
#  - a 4 GiB executable registered against a 64 KiB one (goal: <= 1.2 x): the executable's digest must
#    not hold the window back. The time until the status caption names the release is shown beside it.
# RUNS (default 21) and LARGE_RUNS (default 5) set the number of pairs; VERBOSE=1 prints every run;
# COMPARISONS (default "reference banner executable") picks some of them.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-21}
large_runs=${LARGE_RUNS:-5}
comparisons=${COMPARISONS:-reference banner executable}
harness="$build/bench/tarnwell_firstpaint"
bare="$build/bench/tarnwell_barewindow"
module="$build/libtarnwell_banner.so"
[ -x "$harness" ] && [ -x "$bare" ] || { echo "build the benchmarks first: cmake --build $build --target benchmarks"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two installations of the game: one with a 64 KiB executable, one with a sparse 4 GiB executable (it
# takes no disk space and reads as zeros, at the speed of a file in the page cache).
make_game() { # folder
    mkdir -p "$1/Binaries/SETTINGS" "$1/GAMEDATA/SHADERCACHE"
    printf '<Data>\r\n</Data>\r\n' >"$1/Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"
    printf '<Data>\r\n</Data>\r\n' >"$1/Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML"
}
make_game "$work/Games/Quillvane"
head -c 65536 /dev/urandom >"$work/Games/Quillvane/Binaries/QVX.EXE"
make_game "$work/Games/Large"
truncate -s 4G "$work/Games/Large/Binaries/QVX.EXE"
cat "$work/Games/Large/Binaries/QVX.EXE" >/dev/null # every run then reads it from memory alike
cp -r "$(dirname "$0")/../../examples/Quillvane" "$work/Games/Sample"

# A copy of the tool per case, registered to one of the games; only "present" has the module beside it.
install() { # case game
    mkdir -p "$work/$1/dat"
    cp "$harness" "$work/$1/tarnwell"
    cp "$build/dat/QVX.dat" "$work/$1/dat/QVX.dat"
    printf 'QVXEXE=%s\r\n' "$work/Games/$2/Binaries/QVX.EXE" >"$work/$1/Tarnwell.dat"
}
install absent Quillvane
install present Quillvane
install small Quillvane
install large Large
install sample Sample
mkdir -p "$work/bare"
cp "$bare" "$work/bare/tarnwell"
if [ -f "$module" ]; then
    cp "$module" "$work/present/"
else
    echo "note: built without Qt WebEngine; both banner runs are without the module"
fi

export QT_QPA_PLATFORM=offscreen
declare -A times rss after banner known cpu
# Runs the pairs; alternating which goes first keeps the order of the pair out of the figures.
compare() { # pairs first second
    local pairs=$1 order out first_paint_ms rss_kb banner_seen rss_after_kb known_ms boxes cpu_ms
    for i in $(seq 1 "$pairs"); do
        order="$2 $3"
        [ $((i % 2)) -eq 0 ] && order="$3 $2"
        for kind in $order; do
            sleep 0.5 # let the previous run's processes go before the clock starts
            out=$(FIRSTPAINT_START_NS=$(date +%s%N) timeout 300 "$work/$kind/tarnwell" 2>/dev/null | tail -1) || true
            first_paint_ms=$(sed -n 's/.*first_paint_ms=\([^ ]*\).*/\1/p' <<<"$out")
            [ -n "$first_paint_ms" ] || { echo "the $kind run gave no figures: $out" >&2; exit 1; }
            rss_kb=$(sed -n 's/.*rss_kb=\([^ ]*\).*/\1/p' <<<"$out")
            banner_seen=$(sed -n 's/.*banner=\([^ ]*\).*/\1/p' <<<"$out")
            rss_after_kb=$(sed -n 's/.*rss_after_kb=\([^ ]*\).*/\1/p' <<<"$out")
            known_ms=$(sed -n 's/.*known_ms=\([^ ]*\).*/\1/p' <<<"$out")
            times[$kind]+="$first_paint_ms "
            rss[$kind]+="$rss_kb "
            after[$kind]+="$rss_after_kb "
            known[$kind]+="$known_ms "
            cpu_ms=$(sed -n 's/.*cpu_ms=\([^ ]*\).*/\1/p' <<<"$out")
            cpu[$kind]+="$cpu_ms "
            banner[$kind]=$banner_seen
            boxes=$(sed -n 's/.*boxes=\([^ ]*\).*/\1/p' <<<"$out")
            if [ "${boxes:-0}" != 0 ]; then echo "note: the $kind run answered $boxes message box(es) at start"; fi
            if [ -n "${VERBOSE:-}" ]; then echo "$kind $out"; fi
        done
    done
}

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
# Other work on the machine only ever adds time, so the minimum is shown beside the median.
minimum() { tr ' ' '\n' | grep -v '^$' | sort -g | head -1; }
mb() { echo "$1/1024" | bc -l; }
ratio() { echo "$(echo "${2}" | $1)/$(echo "${3}" | $1)" | bc -l; }

# The program with the sample game against the bare window.
reference_comparison() {
    compare "$runs" bare sample
    # The processor time until then is shown too: other work on the machine hardly changes it.
    printf '%-8s %14s %12s %18s %20s\n' window "paint median" "paint min" "CPU time (median)" "RSS at paint (MB)"
    for kind in bare sample; do
        printf '%-8s %11.1f ms %9.1f ms %15.1f ms %20.1f\n' "$([ $kind = bare ] && echo bare || echo program)" \
            "$(echo "${times[$kind]}" | median)" "$(echo "${times[$kind]}" | minimum)" \
            "$(echo "${cpu[$kind]}" | median)" "$(mb "$(echo "${rss[$kind]}" | median)")"
    done
    printf 'program/bare over %d interleaved runs: first paint %.2f (median), %.2f (minimum), CPU time %.2f (median); goal <= 1.00\n' \
        "$runs" "$(ratio median "${times[sample]}" "${times[bare]}")" \
        "$(ratio minimum "${times[sample]}" "${times[bare]}")" "$(ratio median "${cpu[sample]}" "${cpu[bare]}")"
}

# The banner module beside the program against none.
banner_comparison() {
    compare "$runs" absent present
    printf '%-8s %14s %12s %20s %20s %7s\n' module "paint median" "paint min" "RSS at paint (MB)" "RSS 1.5 s on (MB)" banner
    for kind in absent present; do
        printf '%-8s %11.1f ms %9.1f ms %20.1f %20.1f %7s\n' "$kind" "$(echo "${times[$kind]}" | median)" \
            "$(echo "${times[$kind]}" | minimum)" "$(mb "$(echo "${rss[$kind]}" | median)")" \
            "$(mb "$(echo "${after[$kind]}" | median)")" "${banner[$kind]}"
    done
    printf 'present/absent over %d interleaved runs: first paint %.2f (median), %.2f (minimum), goal <= 1.10; memory at first paint %.2f\n' \
        "$runs" "$(ratio median "${times[present]}" "${times[absent]}")" \
        "$(ratio minimum "${times[present]}" "${times[absent]}")" "$(ratio median "${rss[present]}" "${rss[absent]}")"
}

# A 4 GiB executable registered against a 64 KiB one.
executable_comparison() {
    compare "$large_runs" small large
    printf '%-10s %14s %12s %24s\n' executable "paint median" "paint min" "release shown (median)"
    for kind in small large; do
        printf '%-10s %11.1f ms %9.1f ms %21.1f ms\n' "$([ $kind = small ] && echo 64KiB || echo 4GiB)" \
            "$(echo "${times[$kind]}" | median)" "$(echo "${times[$kind]}" | minimum)" "$(echo "${known[$kind]}" | median)"
    done
    printf '4GiB/64KiB over %d interleaved runs: first paint %.2f (median), %.2f (minimum), goal <= 1.20\n' \
        "$large_runs" "$(ratio median "${times[large]}" "${times[small]}")" \
        "$(ratio minimum "${times[large]}" "${times[small]}")"
}

for comparison in $comparisons; do
    "${comparison}_comparison"
    echo
done

#!/usr/bin/env bash
# Digest throughput: the tool's streaming digest against md5sum on the same 256 MiB file, in one run.
# Also digests a 16 MiB file, to show that peak memory does not follow the file's size.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
bench="$build/bench/bench_md5"
[ -x "$bench" ] || cmake --build "$build" --target bench_md5 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

big_mib=256
small_mib=16
head -c $((big_mib * 1024 * 1024)) /dev/urandom >"$work/big.bin"
head -c $((small_mib * 1024 * 1024)) /dev/urandom >"$work/small.bin"
cat "$work/big.bin" "$work/small.bin" >/dev/null # both runs start from the page cache

now() { date +%s.%N; }
peak_kib() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1"; }
best_of=3

# Best of three wall-clock times per tool, each process started the same way.
measure() { # name command...
    local name=$1; shift
    local best=""
    for _ in $(seq $best_of); do
        local start end took
        start=$(now)
        /usr/bin/time -v -o "$work/$name.time" "$@" >"$work/$name.out"
        end=$(now)
        took=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }')
        best=$(awk -v t="$took" -v b="$best" 'BEGIN { print (b == "" || t < b) ? t : b }')
    done
    echo "$best"
}

tool_s=$(measure tool "$bench" "$work/big.bin")
tool_peak=$(peak_kib "$work/tool.time")
tool_digest=$(cut -d' ' -f1 "$work/tool.out")
ref_s=$(measure md5sum md5sum "$work/big.bin")
ref_peak=$(peak_kib "$work/md5sum.time")
ref_digest=$(cut -d' ' -f1 "$work/md5sum.out")
measure small "$bench" "$work/small.bin" >/dev/null
small_peak=$(peak_kib "$work/small.time")

if [ "$tool_digest" != "$ref_digest" ]; then
    echo "digests differ: $tool_digest vs $ref_digest" >&2
    exit 1
fi
calc() { awk "BEGIN { printf \"%.6f\", $1 }"; }
tool_mibs=$(calc "$big_mib / $tool_s")
ref_mibs=$(calc "$big_mib / $ref_s")
printf 'file: %d MiB, digest %s (both agree), best of %d runs\n' "$big_mib" "$tool_digest" "$best_of"
printf 'CalcMD5 : %8.1f MiB/s  peak memory %7d KiB\n' "$tool_mibs" "$tool_peak"
printf 'md5sum  : %8.1f MiB/s  peak memory %7d KiB\n' "$ref_mibs" "$ref_peak"
printf 'throughput ratio CalcMD5/md5sum: %.2f (goal >= 0.90)\n' "$(calc "$tool_mibs / $ref_mibs")"
printf 'CalcMD5 peak memory: %d KiB for %d MiB, %d KiB for %d MiB (growth %+d KiB)\n' \
    "$small_peak" "$small_mib" "$tool_peak" "$big_mib" "$((tool_peak - small_peak))"

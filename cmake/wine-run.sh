#!/bin/sh
# Runs a Windows program of the build under Wine, as CTest's emulator: `wine-run.sh PREFIX PROGRAM ARGS...`.
# PREFIX is a Wine prefix of the build folder's own, made on first use. Programs run headless: Wine
# keeps Qt's variables (QT_*) of the Linux environment from them, so the prefix's own environment names
# the offscreen platform (an argument -platform still overrides it) and, since that platform on Windows
# takes its fonts from a folder rather than the system, the Liberation fonts (metric twins of Arial).
# A Qt Test program's report goes through a file (-o FILE,txt): written to Wine's console it would not
# reach CTest. The report is printed afterwards, and the program's exit code is the script's.
set -u
prefix=$1
program=$2
shift 2
wine=${WINE:-/usr/lib/wine/wine64}
export WINEPREFIX="$prefix" WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$prefix"
# Tests run side by side; the first one makes the prefix, the others wait for it.
(
    flock 9
    if [ ! -f "$prefix/.tarnwell-ready" ]; then
        "$wine" wineboot --init >/dev/null 2>&1
        "$wine" reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /t REG_SZ /d offscreen /f >/dev/null 2>&1
        "$wine" reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /t REG_SZ \
            /d 'Z:\usr\share\fonts\truetype\liberation' /f >/dev/null 2>&1
        "$(dirname "$wine")/wineserver" -w
        touch "$prefix/.tarnwell-ready"
    fi
) 9>"$prefix/.lock"
case "$(basename "$program")" in
tst_*)
    report=$(mktemp "${TMPDIR:-/tmp}/wine-test.XXXXXX")
    "$wine" "$program" -o "Z:$report,txt" "$@" 2>/dev/null
    status=$?
    cat "$report"
    rm -f "$report"
    exit $status
    ;;
*)
    exec "$wine" "$program" "$@"
    ;;
esac

#!/bin/sh
# The portable Windows zip as a user gets it: listed, unpacked into a folder outside the build tree
# and started there under Wine, in a fresh prefix: --version must print the version on the terminal,
# and a plain start must open the window (its title is looked for on an X server of its own).
# Usage: check-windows-package.sh BUILD
set -eu
zip=$(ls "$1"/Tarnwell-*-win64.zip)
version=${zip##*/Tarnwell-}
version=${version%-win64.zip}
unzip -l "$zip"
place=$(mktemp -d)
# No .NET or HTML engine for a fresh prefix: nothing to download, no prompt to answer.
export WINEPREFIX="$place/wine" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wine=/usr/lib/wine/wine64
trap '"$(dirname "$wine")/wineserver" -k 2>/dev/null; rm -rf "$place"' EXIT
unzip -q "$zip" -d "$place/unpacked"
program=$(ls -d "$place"/unpacked/Tarnwell-*)/tarnwell.exe
# The version resource, which Windows shows in the file's properties: its version in UTF-16 text.
utf16() { printf '%s' "$1" | sed 's/./&\\x00/g'; }
LC_ALL=C grep -qaP "$(utf16 ProductVersion)(\\x00)+$(utf16 "$version")" "$program" \
    || { echo "tarnwell.exe holds no version resource for $version"; exit 1; }
"$wine" wineboot --init >/dev/null 2>&1
# A Wine session started without a display never gets one: each run here ends its session first.
"$(dirname "$wine")/wineserver" -w

printed=$(cd "$place" && "$wine" "$program" --version | tr -d '\r')
echo "tarnwell.exe --version: $printed"
[ "$printed" = "tarnwell $version" ] || { echo "expected: tarnwell $version"; exit 1; }
"$(dirname "$wine")/wineserver" -w

xvfb-run -a -s '-screen 0 1280x1024x24' sh -c '
    cd "$1" && "$2" "$3" &
    for second in $(seq 60); do
        xwininfo -root -tree | grep -q "\"Tarnwell - Corvandel\"" && { echo "tarnwell.exe shows its window"; exit 0; }
        sleep 1
    done
    echo "tarnwell.exe showed no window within 60 s"; exit 1' check "$place" "$wine" "$program"

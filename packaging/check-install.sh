#!/usr/bin/env bash
# Installs a built tree into a staging folder and checks it as an installed Tarnwell: every file
# in place, the desktop entry and AppStream data valid, the command line, a start from the staging
# folder with an empty and with a filled per-user configuration folder, and a quiet start.
# Usage: packaging/check-install.sh BUILD_FOLDER
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD_FOLDER}")
source=$(realpath "$(dirname "$0")/..")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage
fail() { echo "check-install: $*" >&2; exit 1; }

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
id=com.example.tarnwell
expected=(
    usr/bin/tarnwell
    usr/lib/tarnwell/libtarnwell_banner.so
    usr/share/tarnwell/dat/QVX.dat
    usr/share/applications/$id.desktop
    usr/share/metainfo/$id.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/$id.svg
    usr/share/man/man1/tarnwell.1.gz
    usr/share/doc/tarnwell/copyright
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=(usr/share/icons/hicolor/${size}x${size}/apps/$id.png)
done
for file in "${expected[@]}"; do
    [ -f "$stage/$file" ] || fail "not installed: $file"
done
for size in 16 256; do
    file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" \
        || fail "the ${size}x${size} icon has another size"
done
cmp -s "$source/dat/QVX.dat" "$stage/usr/share/tarnwell/dat/QVX.dat" || fail "QVX.dat changed on its way"
desktop-file-validate "$stage/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$stage/usr/share/metainfo/$id.metainfo.xml" >/dev/null
echo "installed files: ${#expected[@]} in place, desktop entry and metainfo valid"

version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$stage/usr/bin/tarnwell" --version)
[ "$version" = "tarnwell 0.0.2-r09" ] || fail "--version said: $version"
echo "installed tarnwell --version: $version"

# The window on the staged tree, message boxes printed instead of shown.
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
start() { QT_QPA_PLATFORM=offscreen timeout 60 "$build/tests/tarnwell_startcheck" "$stage/usr/bin"; }
first=$(start)
grep -qx "message: Select your Quillvane QVX.EXE to get started!" <<<"$first" || fail "no first-start prompt: $first"
! grep -q "Fatal Error" <<<"$first" || fail "fatal message at first start: $first"
echo "first start with an empty configuration folder: the first-start prompt"
mkdir -p "$XDG_CONFIG_HOME/tarnwell"
printf 'QVXEXE=%s\r\n' "$source/examples/Quillvane/Binaries/QVX.EXE" >"$XDG_CONFIG_HOME/tarnwell/Tarnwell.dat"
second=$(start)
for line in "known versions: $stage/usr/share/tarnwell/dat/QVX.dat" \
            "status: Quillvane Sample Installation Detected!" "brightness: 120" "resolution: 1920x1080"; do
    grep -qxF "$line" <<<"$second" || fail "expected \"$line\" with a stored game: $second"
done
[ "$(grep -c '^message:' <<<"$second")" = 0 ] || fail "messages with a stored game: $second"
echo "start with Tarnwell.dat in \$XDG_CONFIG_HOME/tarnwell: the sample game's settings read"

# The installed program itself, on an X server: its banner module comes from the staged library
# folder, and nothing may reach the terminal.
export stage
xvfb-run -a bash -c '
    "$stage/usr/bin/tarnwell" & program=$!
    for second in $(seq 30); do
        grep -q "$stage/usr/lib/tarnwell/libtarnwell_banner.so" /proc/$program/maps && break
        sleep 1
    done
    grep -q "$stage/usr/lib/tarnwell/libtarnwell_banner.so" /proc/$program/maps || echo "no banner module loaded"
    sleep 5
    kill -0 $program || echo "the program ended early"
    kill $program; wait $program' >"$work/out" 2>&1 || true
[ ! -s "$work/out" ] || fail "the installed program: $(cat "$work/out")"
echo "installed program started with its banner module: nothing printed"

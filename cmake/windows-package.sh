#!/bin/sh
# Makes the portable Windows zip: `windows-package.sh BUILD QTBIN VERSION SOURCE`.
# BUILD/Tarnwell-VERSION-win64.zip holds one folder with tarnwell.exe, dat\QVX.dat, the plugins the
# program loads, exactly the DLLs of QTBIN that the program and those plugins import (followed
# through the DLLs themselves), a README.txt and the licence texts, all text files with CR LF.
set -eu
build=$1 qtbin=$2 version=$3 source=$4
name=Tarnwell-$version-win64
stage=$build/package/$name
objdump=x86_64-w64-mingw32-objdump
rm -rf "$build/package" "$build/$name.zip"
mkdir -p "$stage/dat" "$stage/licenses"

cp "$build/tarnwell.exe" "$stage/"
x86_64-w64-mingw32-strip "$stage/tarnwell.exe"
cp "$build/dat/QVX.dat" "$stage/dat/"
# The window system, the native style, and SVG for the artwork and the icons.
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qsvg.dll iconengines/qsvgicon.dll; do
    mkdir -p "$stage/$(dirname "$plugin")"
    cp "$qtbin/../plugins/$plugin" "$stage/$plugin"
    x86_64-w64-mingw32-strip --strip-unneeded "$stage/$plugin"
done

# The DLLs imported, found in Qt's bin folder; the system's own DLLs are not there and stay out.
pending=$(find "$stage" -name '*.exe' -o -name '*.dll')
while [ -n "$pending" ]; do
    next=
    for binary in $pending; do
        for dll in $("$objdump" -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
            found=$(find "$qtbin" -maxdepth 1 -iname "$dll" | head -n 1)
            if [ -n "$found" ] && [ ! -f "$stage/$(basename "$found")" ]; then
                cp "$found" "$stage/"
                x86_64-w64-mingw32-strip --strip-unneeded "$stage/$(basename "$found")"
                next="$next $stage/$(basename "$found")"
            fi
        done
    done
    pending=$next
done

crlf() { sed 's/\r*$/\r/' "$1" > "$2"; }
sed "s/@VERSION@/$version/" "$source/packaging/windows/README.txt" > "$build/package/README.txt"
crlf "$build/package/README.txt" "$stage/README.txt"
crlf "$source/packaging/copyright" "$stage/licenses/Tarnwell.txt"
crlf /usr/share/common-licenses/LGPL-3 "$stage/licenses/LGPL-3.txt"
crlf /usr/share/common-licenses/GPL-3 "$stage/licenses/GPL-3.txt"
crlf /usr/share/doc/libqt6core6/copyright "$stage/licenses/Qt-qtbase.txt"
crlf /usr/share/doc/libqt6svg6/copyright "$stage/licenses/Qt-qtsvg.txt"
crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/MinGW-GCC-runtime.txt"
crlf /usr/share/doc/mingw-w64-common/copyright "$stage/licenses/MinGW-w64-winpthreads.txt"

(cd "$build/package" && find "$name" -print | LC_ALL=C sort | zip -q -X -9 "../$name.zip" -@)
echo "$build/$name.zip"

#!/usr/bin/env bash
# Puts a Windows program folder together: the two programs, the Qt DLLs and plugins they
# load, and the MinGW runtime, found by following the imports of every .exe and .dll until
# nothing new is needed (there is no windeployqt for a cross build).
#
# usage: tools/windows/deploy.sh BUILD_DIR QT_PREFIX OUT_DIR [--strip]
set -euo pipefail
build=$1 qt=$2 out=$3 strip=${4:-}
objdump=x86_64-w64-mingw32-objdump
# Where the DLLs a program imports may come from; the system's own are in none of them.
search=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

rm -rf "$out"
mkdir -p "$out/platforms" "$out/styles"
cp "$build/kelvor-reader.exe" "$build/kelvor-sim.exe" "$out/"
# Plugins Qt loads by name, not by import: the windows platform (and offscreen for runs
# without a desktop) and the native style.
cp "$qt/plugins/platforms/qwindows.dll" "$qt/plugins/platforms/qoffscreen.dll" "$out/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$out/styles/"

imports() { "$objdump" -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
pending=("$out"/*.exe "$out"/platforms/*.dll "$out"/styles/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
    file=${pending[0]}
    pending=("${pending[@]:1}")
    while read -r dll; do
        [ -e "$out/$dll" ] && continue
        for dir in "${search[@]}"; do
            found=$(find "$dir" -maxdepth 1 -iname "$dll" -print -quit 2>/dev/null)
            if [ -n "$found" ]; then
                cp "$found" "$out/$dll"
                pending+=("$out/$dll")
                break
            fi
        done
    done < <(imports "$file")
done
if [ "$strip" = --strip ]; then
    find "$out" -iname '*.exe' -o -iname '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
fi

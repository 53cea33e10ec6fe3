#!/usr/bin/env bash
# Makes the Windows packages from a Windows build: the program folder (stripped) with a
# README.txt and the license texts, as a zip and as an NSIS installer of the same folder.
#
# usage: tools/windows/package.sh BUILD_DIR QT_PREFIX OUT_DIR
# makes OUT_DIR/KelvorReader2-<version>-windows-x64.zip and ...-windows-x64-setup.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$1 qt=$2 out=$3

version=$(sed -n 's/^project(KelvorReader2 VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
if [ -z "$version" ]; then
    echo "package.sh: no project(KelvorReader2 VERSION ...) in CMakeLists.txt" >&2
    exit 1
fi
name=KelvorReader2-$version
mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$out/$name
zipfile=$out/$name-windows-x64.zip
setup=$out/$name-windows-x64-setup.exe
# Older versions' packages go too: the folder holds one version's.
rm -rf "$out"/KelvorReader2-* "$out/test"

"$here/deploy.sh" "$build" "$qt" "$stage" --strip

# Windows' own editors and the installer expect CRLF.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }

# The texts come from this machine's packages, the ones the shipped files were built from.
doc() { # package -> its Debian copyright file
    local file=/usr/share/doc/$1/copyright
    if [ ! -s "$file" ]; then
        echo "package.sh: $file is missing (install $1)" >&2
        exit 1
    fi
    echo "$file"
}
debian_copyright() { # package title out
    local version
    version=$(dpkg-query -W -f='${Version}' "$1")
    {
        echo "$2: the copyright file of Debian's package $1 $version."
        echo "The GPL 2, GPL 3 and LGPL 3 it points to in /usr/share/common-licenses/ are"
        echo "licenses\\GPL-2.0.txt, licenses\\GPL-3.0.txt and licenses\\LGPL-3.0.txt here."
        echo
        cat "$(doc "$1")"
    } >"$3.lf"
    crlf "$3.lf" "$3"
    rm "$3.lf"
}
licenses=$stage/licenses
mkdir -p "$licenses/Qt" "$licenses/MinGW"
crlf /usr/share/common-licenses/LGPL-3 "$licenses/LGPL-3.0.txt"
crlf /usr/share/common-licenses/GPL-3 "$licenses/GPL-3.0.txt"
crlf /usr/share/common-licenses/GPL-2 "$licenses/GPL-2.0.txt"
debian_copyright libqt6core6 "Qt Core, Gui, Widgets and their plugins" \
    "$licenses/Qt/qt6-base-copyright.txt"
debian_copyright libqt6charts6 "Qt Charts" "$licenses/Qt/qt6-charts-copyright.txt"
debian_copyright gcc-mingw-w64-x86-64-posix-runtime "libgcc_s_seh-1.dll, libstdc++-6.dll" \
    "$licenses/MinGW/gcc-copyright.txt"
debian_copyright mingw-w64-x86-64-dev "MinGW-w64 (startup code, libwinpthread-1.dll)" \
    "$licenses/MinGW/mingw-w64-copyright.txt"
debian_copyright libz-mingw-w64 "zlib (inside kelvor-reader.exe)" "$licenses/zlib.txt"

# The exception as GCC's copyright file quotes it, up to the next library's notice.
gcc_copyright=$(doc gcc-mingw-w64-x86-64-posix-runtime)
awk '/^GCC RUNTIME LIBRARY EXCEPTION$/ { on = 1 } /^libquadmath/ { on = 0 } on' \
    "$gcc_copyright" | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' >"$out/exception.lf"
grep -q "No Weakening of GCC Copyleft" "$out/exception.lf" || {
    echo "package.sh: the GCC Runtime Library Exception was not found in $gcc_copyright" >&2
    exit 1
}
crlf "$out/exception.lf" "$licenses/MinGW/GCC-runtime-library-exception-3.1.txt"

# winpthreads' paragraphs of the mingw-w64 copyright file (its tests are not shipped), then
# the license texts they name.
awk 'BEGIN { RS = ""; FS = "\n" }
    NR == FNR {
        if ($1 ~ /^Files: mingw-w64-libraries\/winpthreads/ && $1 !~ /tests_pthread/) {
            print $0 "\n"
            for (i = 1; i <= NF; i++)
                if ($i ~ /^License: /) { l = $i; sub(/^License: /, "", l); wanted[l] = 1 }
        }
        next
    }
    $1 ~ /^License: / { l = $1; sub(/^License: /, "", l); if (l in wanted) print $0 "\n" }' \
    "$(doc mingw-w64-x86-64-dev)" "$(doc mingw-w64-x86-64-dev)" >"$out/winpthreads.lf"
grep -q "Permission is hereby granted" "$out/winpthreads.lf" || {
    echo "package.sh: winpthreads' license was not found" >&2
    exit 1
}
{
    echo "libwinpthread-1.dll: MinGW-w64's POSIX threads library, from Debian's"
    echo "mingw-w64-x86-64-dev $(dpkg-query -W -f='${Version}' mingw-w64-x86-64-dev)."
    echo
    cat "$out/winpthreads.lf"
} >"$out/winpthreads.txt.lf"
crlf "$out/winpthreads.txt.lf" "$licenses/MinGW/winpthreads.txt"
rm "$out"/*.lf

sed "s/@VERSION@/$version/g" "$here/README.txt" >"$out/README.lf"
crlf "$out/README.lf" "$stage/README.txt"
rm "$out/README.lf"

# Every DLL shipped has its license named in the README, and every file the README names is
# there: a new Qt module or runtime DLL must not go out unexplained.
(cd "$stage" && find . -iname '*.dll' | sed 's|^\./||; s|/|\\|g') | while read -r dll; do
    if ! grep -qF "$dll" "$stage/README.txt"; then
        echo "package.sh: README.txt does not say which license covers $dll" >&2
        exit 1
    fi
done
grep -o 'licenses\\[A-Za-z0-9\\._-]*\.txt' "$stage/README.txt" | sort -u | while read -r f; do
    if [ ! -f "$stage/${f//\\//}" ]; then
        echo "package.sh: README.txt names $f, which is not in the package" >&2
        exit 1
    fi
done

(cd "$out" && zip -qrX9 "$zipfile" "$name")

# The installer installs and uninstalls exactly the staged files: an uninstaller that removes
# a folder recursively would take whatever else someone put there (or a folder chosen wrongly).
files=$out/installer-files.nsh
{
    echo '!macro InstallFiles'
    (cd "$stage" && find . -type d | sort) | while read -r d; do
        d=${d#./} src=$stage win='$INSTDIR'
        if [ "$d" != . ]; then
            src=$stage/$d win="\$INSTDIR\\${d//\//\\}"
        fi
        echo "  SetOutPath \"$win\""
        find "$src" -maxdepth 1 -type f | sort | while read -r f; do
            echo "  File \"$f\""
        done
    done
    echo '  SetOutPath "$INSTDIR"'
    echo '!macroend'
    echo '!macro UninstallFiles'
    (cd "$stage" && find . -type f | sort) | while read -r f; do
        f=${f#./}
        echo "  Delete \"\$INSTDIR\\${f//\//\\}\""
    done
    (cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r d; do
        d=${d#./}
        echo "  RMDir \"\$INSTDIR\\${d//\//\\}\""
    done
    echo '!macroend'
} >"$files"

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$files" -DOUTFILE="$setup" \
    "$here/installer.nsi"

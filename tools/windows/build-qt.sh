#!/usr/bin/env bash
# Builds the Qt for MinGW that the Windows build links against: Qt 6.4.2 (qtbase, qtserialport,
# qtcharts) cross-built for x86_64-w64-mingw32 (posix threads) on Debian 12, from Debian's own
# source packages (qt6-base with Debian's patch series and qtbase-directwrite-needs-direct2d.patch
# beside this script). Modules: Core, Gui, Widgets, PrintSupport, Test, SerialPort, Charts; the
# windows, offscreen and minimal platform plugins and the windowsvista style; shared DLLs.
# It is the same Qt as qt6.4.2-mingw64-posix.tar.zst in ../shared/windows/, for a machine
# without it.
#
# usage: tools/windows/build-qt.sh [--configure-only] WORKDIR [stage...]
#   stages, in this order by default: sources base serialport charts pack
#   sources     installs what is missing, fetches the three source packages with apt (a private
#               apt configuration in WORKDIR/apt: the system's is left alone) and unpacks them
#   base        qtbase: configure, build, install into WORKDIR/prefix (nearly all of the time)
#   serialport, charts   the two modules, into the same prefix
#   pack        WORKDIR/qt6.4.2-mingw64-posix.tar.zst and .sha256 (one folder prefix/ inside)
#   --configure-only     base, serialport and charts stop after CMake's configure step
# About 45 minutes on two cores, a few GB in WORKDIR; logs in WORKDIR/logs. Keep WORKDIR out
# of the checkout. The result, without packing:
#   KELVOR_QT_MINGW=WORKDIR/prefix ./dev windows-check
# or put the tarball and its .sha256 where ./dev looks (../shared/windows/ beside the checkout).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

configure_only=false
if [ "${1:-}" = --configure-only ]; then
    configure_only=true
    shift
fi
if [ $# -lt 1 ] || [ "${1#-}" != "$1" ]; then
    sed -n '10,21p' "$0" | cut -c3- >&2
    exit 2
fi
W=$(realpath -m "$1")
shift
case "$W/" in
"$(cd "$here/../.." && pwd)"/*)
    echo "build-qt.sh: WORKDIR must be outside the checkout" >&2
    exit 2
    ;;
esac

QTVER=6.4.2
PREFIX=$W/prefix
TC=$W/mingw-w64-x86_64.cmake
TARBALL=qt$QTVER-mingw64-posix.tar.zst
JOBS=${JOBS:-$(nproc)}
# Source folder names as Qt's release tarballs have them.
declare -A SRC=([qt6-base]=qtbase [qt6-serialport]=qtserialport [qt6-charts]=qtcharts)
# The host's Qt supplies moc, rcc and uic to the cross build, so it must be the same version;
# perl runs qtbase's syncqt.pl; dpkg-dev and patch unpack Debian's source packages.
PACKAGES=(g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools cmake ninja-build zstd
    dpkg-dev patch xz-utils perl)
mkdir -p "$W/src" "$W/build" "$W/logs"

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

install_missing() {
    local missing=() p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

host_qt_version() { dpkg-query -W -f='${Version}' qt6-base-dev; }

# Runs a long step into its log; on failure shows the log's end, not 30 MB of build output.
run() { # log command...
    local log=$W/logs/$1
    shift
    if ! nice -n 19 "$@" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "build-qt.sh: failed, see $log" >&2
        return 1
    fi
}

# A private apt configuration: deb-src lines for the mirrors (and the security archive) the
# system already uses for bookworm, its own lists and cache. Nothing under /etc or /var changes.
APT_DIR=$W/apt
apt_private() { # apt-get arguments...
    apt-get -o Dir::Etc::SourceList="$APT_DIR/sources.list" \
        -o Dir::Etc::SourceParts="$APT_DIR/sources.list.d" \
        -o Dir::Etc::PreferencesParts="$APT_DIR/preferences.d" \
        -o Dir::State::Lists="$APT_DIR/lists" -o Dir::Cache="$APT_DIR/cache" "$@"
}
apt_setup() {
    mkdir -p "$APT_DIR/sources.list.d" "$APT_DIR/preferences.d" "$APT_DIR/lists/partial" \
        "$APT_DIR/cache/archives/partial"
    local keyring=/usr/share/keyrings/debian-archive-keyring.gpg opts=""
    [ -f "$keyring" ] && opts=" [signed-by=$keyring]"
    # The binary indexes name the mirrors; with none there yet, they need one apt-get update.
    local uris
    # shellcheck disable=SC2016 # apt's own $(FIELD) placeholders
    uris=$(apt-get indextargets --format '$(REPO_URI) $(CODENAME) $(COMPONENT)' \
        'Created-By: Packages' 2>/dev/null | awk '$2 ~ /^bookworm/ && $3 == "main"' | sort -u)
    if [ -z "$uris" ]; then
        "${sudo[@]}" apt-get update -qq
        # shellcheck disable=SC2016
        uris=$(apt-get indextargets --format '$(REPO_URI) $(CODENAME) $(COMPONENT)' \
            'Created-By: Packages' | awk '$2 ~ /^bookworm/ && $3 == "main"' | sort -u)
    fi
    if [ -z "$uris" ]; then
        echo "build-qt.sh: apt knows no bookworm main archive; this needs Debian 12" >&2
        return 1
    fi
    awk -v o="$opts" '{ print "deb-src" o " " $1 " " $2 " " $3 }' <<<"$uris" \
        >"$APT_DIR/sources.list"
    apt_private update -qq
}

# Unpacks a downloaded source package with Debian's patch series applied; dpkg-source checks
# the files against the .dsc. qtbase's series has been built for MinGW as it is; the 6.4.2
# revisions of the two modules change only their Linux packaging (debian/rules, per their
# changelogs), so any series they carry is applied too. Unpacked beside and renamed, so an
# interrupted run starts over.
unpack() { # package dsc
    local dest=$W/src/${SRC[$1]}-everywhere-src-$QTVER
    rm -rf "$dest.tmp"
    (cd "$W/src" && dpkg-source --no-copy -x "$2" "$dest.tmp") >"$W/logs/$1-unpack.log" 2>&1 || {
        cat "$W/logs/$1-unpack.log" >&2
        return 1
    }
    if [ "$1" = qt6-base ]; then
        patch -d "$dest.tmp" -p1 --batch <"$here/qtbase-directwrite-needs-direct2d.patch" \
            >>"$W/logs/$1-unpack.log"
    fi
    mv "$dest.tmp" "$dest"
}

# Qt's own 6.4.2 release tarball of a module, when apt cannot supply Debian's: the same file
# as Debian's orig tarball (so its changelog says), which the checksum from the signed index
# proves.
unpack_release() { # package
    local name=${SRC[$1]}-everywhere-src-$QTVER
    local tarball=$W/src/$name.tar.xz want got
    want=$(apt_private source --print-uris "$1" 2>/dev/null |
        awk -v f="${1}_$QTVER.orig.tar.xz" '$2 == f { sub(/^SHA256:/, "", $4); print $4 }')
    if [ ! -f "$tarball" ]; then
        echo "build-qt.sh: $1 could not be fetched with apt; put Qt's release tarball" \
            "$name.tar.xz into $W/src/ (or its unpacked folder $name/)" >&2
        return 1
    fi
    got=$(sha256sum "$tarball" | cut -d' ' -f1)
    if [ -z "$want" ] || [ "$got" != "$want" ]; then
        echo "build-qt.sh: $tarball is not Debian's ${1}_$QTVER.orig.tar.xz" \
            "(sha256 $got, Debian's ${want:-unknown})" >&2
        return 1
    fi
    rm -rf "$W/src/$name.tmp"
    mkdir "$W/src/$name.tmp"
    tar -xf "$tarball" -C "$W/src/$name.tmp" --strip-components=1
    mv "$W/src/$name.tmp" "$W/src/$name"
}

stage_sources() {
    install_missing
    local host
    host=$(host_qt_version)
    if [ "${host%%+*}" != "$QTVER" ]; then
        echo "build-qt.sh: the host's Qt is $host, not $QTVER (Debian 12's)" >&2
        return 1
    fi
    apt_setup
    local pkg want dsc failed=0
    for pkg in qt6-base qt6-serialport qt6-charts; do
        [ -d "$W/src/${SRC[$pkg]}-everywhere-src-$QTVER" ] && continue
        # qtbase from the same Debian revision as the host's moc; the modules as bookworm has them.
        want=$pkg
        [ "$pkg" = qt6-base ] && want=$pkg=$host
        if (cd "$W/src" && apt_private source --download-only -qq "$want") \
            >"$W/logs/$pkg-download.log" 2>&1; then
            # shellcheck disable=SC2012 # Debian's file names; the newest revision if several
            dsc=$(cd "$W/src" && ls -t "${pkg}_$QTVER"*.dsc | head -n 1)
            unpack "$pkg" "$dsc"
        elif [ "$pkg" = qt6-base ]; then
            cat "$W/logs/$pkg-download.log" >&2
            return 1
        else
            grep '^E:' "$W/logs/$pkg-download.log" >&2 || true
            # Tell about both modules at once, not one per run.
            unpack_release "$pkg" || { failed=1; continue; }
        fi
        echo "   $pkg: $W/src/${SRC[$pkg]}-everywhere-src-$QTVER"
    done
    return "$failed"
}

# A plain MinGW toolchain: the posix-thread compilers, programs found on the host, the rest
# below the MinGW root only. Qt's installed qt.toolchain.cmake remembers this file's path.
write_toolchain() {
    cat >"$TC" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
}

need_sources() { # folder
    if [ ! -f "$W/src/$1/CMakeLists.txt" ]; then
        echo "build-qt.sh: no $W/src/$1; run the sources stage first" >&2
        return 1
    fi
}

build_install() { # name
    "$configure_only" && return 0
    run "$1-build.log" cmake --build "$W/build/$1" -j "$JOBS"
    run "$1-install.log" cmake --install "$W/build/$1"
}

stage_base() {
    local S=qtbase-everywhere-src-$QTVER
    need_sources "$S"
    write_toolchain
    # Debian keeps the host Qt's CMake packages in the multiarch folder, hence
    # QT_HOST_PATH_CMAKE_DIR. Left out: what the reader does not use (Network, Sql, D-Bus,
    # Concurrent, Xml, OpenGL, Vulkan, tablet events, JPEG) and Direct2D (hence the patch); the
    # third-party libraries are Qt's bundled ones, so the DLLs need nothing but MinGW's runtime.
    run qtbase-configure.log cmake -S "$W/src/$S" -B "$W/build/qtbase" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TC" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_SHARED_LIBS=ON \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_printsupport=ON -DFEATURE_testlib=ON \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_xml=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF \
        -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF -DFEATURE_jpeg=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF \
        -DFEATURE_system_doubleconversion=OFF -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON
    build_install qtbase
}

# The modules go through the new Qt's qt-cmake, which chainloads the toolchain above.
module() { # name
    need_sources "$1-everywhere-src-$QTVER"
    if [ ! -x "$PREFIX/bin/qt-cmake" ]; then
        echo "build-qt.sh: no $PREFIX/bin/qt-cmake; build the base stage first" >&2
        return 1
    fi
    run "$1-configure.log" "$PREFIX/bin/qt-cmake" -S "$W/src/$1-everywhere-src-$QTVER" \
        -B "$W/build/$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    build_install "$1"
}
stage_serialport() { module qtserialport; }
stage_charts() { module qtcharts; }

stage_pack() {
    if [ ! -f "$PREFIX/lib/cmake/Qt6Charts/Qt6ChartsConfig.cmake" ] ||
        [ ! -f "$PREFIX/lib/cmake/Qt6SerialPort/Qt6SerialPortConfig.cmake" ]; then
        echo "build-qt.sh: $PREFIX lacks Qt Charts or Qt Serial Port; build them first" >&2
        return 1
    fi
    rm -f "$W/$TARBALL" "$W/$TARBALL.sha256"
    tar -C "$W" --sort=name --owner=0 --group=0 --numeric-owner -cf - prefix |
        nice -n 19 zstd -19 -T"$JOBS" -q -o "$W/$TARBALL"
    (cd "$W" && sha256sum "$TARBALL" >"$TARBALL.sha256")
    echo "   $W/$TARBALL"
}

stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=(sources base serialport charts pack)
for s in "${stages[@]}"; do
    if ! declare -F "stage_$s" >/dev/null; then
        echo "build-qt.sh: no stage $s (sources base serialport charts pack)" >&2
        exit 2
    fi
done
for s in "${stages[@]}"; do
    echo "== $(date +%T) $s"
    "stage_$s"
done
if "$configure_only"; then
    echo "== $(date +%T) configured (nothing built)"
else
    echo "== $(date +%T) done"
fi

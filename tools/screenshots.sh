#!/usr/bin/env bash
# Remakes the screenshots under a virtual X server: the README's main window beside a workbook
# window; the workbook window on a constant-rate chart, a constant-load data sheet and chart, the
# Summary, the Summary Plot and its "Go to Sheet…" field; the main window with a light in every
# state, the setup dialog and the About box.
#   tools/screenshots.sh            build kelvor-screens, make the pictures into
#                                   build/screenshots/ and copy those the docs show into
#                                   docs/screenshots/
#   tools/screenshots.sh --wine     the same pictures from the Windows build (build-windows/,
#                                   configured by ./dev windows-check) under Wine, into
#                                   build-windows/screenshots/
#   --compare                       also render the same workbooks (channel 1 with a constant-
#                                   load test added) with LibreOffice into
#                                   <build>/screenshots-libreoffice/ to look at side by side
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
wine=false compare=false
for option in "$@"; do
    case "$option" in
    --wine) wine=true ;;
    --compare) compare=true ;;
    *) echo "usage: tools/screenshots.sh [--wine] [--compare]" >&2; exit 2 ;;
    esac
done
screen=(-a -s "-screen 0 1400x900x24 -dpi 96")
work=$(mktemp -d /tmp/kelvor-screens.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Under Wine: a program folder of its own (the tool and the DLLs it needs) and a Wine prefix of
# its own; the shared build folder is only built, never configured.
shoot_wine() {
    build="$top/build-windows"
    local program="$build/screens-program" wine64=/usr/lib/wine/wine64
    [ -f "$build/CMakeCache.txt" ] || { echo "No Windows build: run ./dev windows-check" >&2; exit 1; }
    cmake --build "$build" -j2 --target kelvor-screens
    "$top/tools/windows/deploy.sh" "$build" "$build/qt/prefix" "$program"
    cp "$build/kelvor-screens.exe" "$program/"
    export WINEPREFIX="$build/wine-screens" WINEDEBUG=-all WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree,mshtml="
    (unset DISPLAY WAYLAND_DISPLAY
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "Preparing a Wine prefix in $WINEPREFIX"
            timeout 300 "$wine64" wineboot -i >/dev/null 2>&1 || true
        fi
        # Arial's metrics; a fresh prefix falls back to a serif face.
        timeout 60 "$wine64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial \
            /d 'Liberation Sans' /f >/dev/null
        # Small text smoothed as a Windows desktop has it by default (ClearType); Wine's
        # unsmoothed small text loses letters (the "I" of Liberation Sans at 11 pixels).
        timeout 60 "$wine64" reg add 'HKCU\Control Panel\Desktop' /v FontSmoothingType \
            /t REG_DWORD /d 2 /f >/dev/null
        # Wine draws the window frames itself, as Windows would, instead of leaving them to a
        # window manager, which Xvfb does not have.
        timeout 60 "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N \
            /f >/dev/null)
    # A Wine started without a display keeps its desktop without one: it ends before the run.
    timeout 60 /usr/lib/wine/wineserver -w || true
    # Wine draws the caption buttons with its Marlett font (Debian's fonts-wine), which this
    # Wine finds only among the prefix's own fonts.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    else
        echo "fonts-wine is not installed: the caption buttons show digits instead of symbols"
    fi
    local status=0
    timeout 600 xvfb-run "${screen[@]}" "$wine64" "$program/kelvor-screens.exe" \
        "Z:${top//\//\\}\\samples" "Z:${work//\//\\}" || status=$?
    # Wine's server outlives the program by a few seconds; nothing is left running after us.
    timeout 60 /usr/lib/wine/wineserver -w || true
    return "$status"
}

if $wine; then
    shoot_wine
else
    build="$top/build"
    cmake -S "$top" -B "$build" >/dev/null
    cmake --build "$build" -j2 --target kelvor-screens
    xvfb-run "${screen[@]}" "$build/kelvor-screens" "$top/samples" "$work"
fi
out="$build/screenshots"
rm -rf "$out"
mkdir -p "$out"
cp "$work"/*.png "$out/"
echo "pictures: $out"
if ! $wine; then
    for picture in reader-and-workbook workbook-rate-chart workbook-load-data workbook-load-chart \
        workbook-summary workbook-summary-plot workbook-sheet-jump message-export-error \
        messages-cascaded message-duplicate-port batch-list; do
        cp "$work/$picture.png" "$top/docs/screenshots/"
    done
fi
if $compare; then
    compare="$build/screenshots-libreoffice"
    rm -rf "$compare"
    mkdir -p "$compare"
    cp "$work"/channel-*.xlsx "$compare/"
    (cd "$compare" && libreoffice --headless --convert-to pdf channel-*.xlsx >/dev/null 2>&1)
    for pdf in "$compare"/*.pdf; do
        pdftoppm -png -r 60 "$pdf" "${pdf%.pdf}"
    done
    echo "LibreOffice's pages: $compare"
fi

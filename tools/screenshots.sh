#!/usr/bin/env bash
# Remakes the screenshots in docs/screenshots under a virtual X server: the README's main
# window beside a workbook window, and the workbook window on a constant-rate chart, a
# constant-load chart, the Summary and the Summary Plot.
#   tools/screenshots.sh            build kelvor-screens, make the pictures
#   tools/screenshots.sh --compare  also render the same workbooks (channel 1 with a constant-
#                                   load test added) with LibreOffice into
#                                   build/screenshots-libreoffice/ to look at side by side
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"
out="$top/docs/screenshots"
cmake -S "$top" -B "$build" >/dev/null
cmake --build "$build" -j2 --target kelvor-screens
work=$(mktemp -d /tmp/kelvor-screens.XXXXXX)
trap 'rm -rf "$work"' EXIT
xvfb-run -a -s "-screen 0 1400x900x24 -dpi 96" "$build/kelvor-screens" "$top/samples" "$work"
for picture in reader-and-workbook workbook-rate-chart workbook-load-chart workbook-summary \
    workbook-summary-plot; do
    cp "$work/$picture.png" "$out/"
done
if [ "${1:-}" = --compare ]; then
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

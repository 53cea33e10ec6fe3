#!/usr/bin/env bash
# Tries the Windows packages under Wine, in a fresh Wine prefix of their own:
#  - the zip's program folder starts (no DLL or plugin missing) and keeps its files beside itself;
#  - the silent installer puts the program, the uninstaller, the Start menu entry and the
#    Add/Remove Programs key in place, and installs again over itself;
#  - the installed reader keeps its settings and log in Documents\KelvorReader2;
#  - the silent uninstaller (the registered QuietUninstallString) removes the program, its
#    entries and its key, and leaves Documents\KelvorReader2 as it was.
#
# usage: tools/windows/test-package.sh PACKAGE_DIR   (the folder package.sh made)
set -euo pipefail
# The reader runs on Qt's windows platform, as on a PC; taskkill can then close its window.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
packages=$(cd "$1" && pwd)
version=$(sed -n 's/^project(KelvorReader2 VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
name=KelvorReader2-$version
zipfile=$packages/$name-windows-x64.zip
setup=$packages/$name-windows-x64-setup.exe
staged=$packages/$name
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

fail() {
    echo "FAILED: $*" >&2
    exit 1
}
ok() { echo "  ok: $*"; }
# Polls a condition twice a second until it holds or the time is up.
wait_for() { # seconds what command...
    local tries=$(($1 * 2)) what=$2 i
    shift 2
    for ((i = 0; i < tries; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.5
    done
    fail "$what (waited $((tries / 2)) s)"
}
winout() { "$wine" "$@" 2>/dev/null | tr -d '\r'; }
unix_path() { winout winepath -u "$1"; }

for f in "$zipfile" "$setup"; do
    [ -f "$f" ] || fail "$f is missing: run tools/windows/package.sh first"
done

work=$packages/test
rm -rf "$work"
mkdir -p "$work/home"
# A home of its own: a fresh prefix links Documents and the other profile folders to $HOME,
# and the test must not write into the real one.
export HOME=$work/home WINEPREFIX=$work/wine WINEARCH=win64 WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml="
# Nothing of ours keeps running when the test ends, however it ends.
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT

echo "Preparing a fresh Wine prefix in $WINEPREFIX"
timeout 300 "$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot could not make the prefix"
timeout 120 "$wineserver" -w || true
profile=$(unix_path "$(winout cmd /c 'echo %USERPROFILE%')")
[ -d "$profile" ] || fail "no user profile folder ($profile)"
# Real folders, as on Windows, in place of the links to $HOME.
for link in "$profile"/*; do
    if [ -L "$link" ]; then
        rm "$link"
        mkdir "$link"
    fi
done
documents=$profile/Documents/KelvorReader2
programs=$(unix_path "$(winout cmd /c 'echo %ProgramW6432%')")
instdir=$programs/KelvorReader2
menu=$(unix_path "$(winout cmd /c 'echo %ProgramData%')")"/Microsoft/Windows/Start Menu/Programs/KelvorReader2"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KelvorReader2'

# Starts a reader, waits for its start in its log, closes its window as logging off would and
# waits for its clean end. A log where it must not be fails at once.
run_reader() { # program log [wrong-log]
    # Wine's module errors name a DLL that is missing.
    WINEDEBUG=-all,err+module timeout 300 "$wine" "$1" >"$work/reader.out" 2>&1 &
    local pid=$! status=0 wrong=${3:-/nonexistent}
    wait_for 120 "the reader logs its start in $2" \
        bash -c "grep -q 'Reader started' '$2' '$wrong' || ! kill -0 $pid"
    [ ! -e "$wrong" ] || fail "the reader wrote its log into $wrong"
    grep -q "Reader started" "$2" 2>/dev/null ||
        fail "the reader ended before it started (a DLL missing?): $(cat "$work/reader.out")"
    wait_for 60 "taskkill finds the reader's window" "$wine" taskkill /IM kelvor-reader.exe
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "the reader ended with exit code $status: $(cat "$work/reader.out")"
    grep -q "Reader ended" "$2" || fail "no \"Reader ended\" in $2"
}
# The files of a folder with their checksums.
fingerprint() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
registry_value() { # name
    winout reg query "$key" /v "$1" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

echo "The zip"
mkdir "$work/zip"
unzip -q "$zipfile" -d "$work/zip"
folder=$work/zip/$name
diff -rq "$staged" "$folder" >/dev/null || fail "the zip does not hold the staged folder"
ok "it holds $name/ with $(find "$folder" -type f | wc -l) files"
lines=$(wc -l <"$folder/README.txt")
[ "$(grep -c $'\r$' "$folder/README.txt")" -eq "$lines" ] || fail "README.txt is not CRLF"
ok "README.txt has CRLF line ends"
winout "$folder/kelvor-sim.exe" --help | grep -q "^usage: kelvor-sim" ||
    fail "kelvor-sim.exe --help does not run"
ok "kelvor-sim.exe --help runs"
run_reader "$folder/kelvor-reader.exe" "$folder/KelvorReader.log" "$documents/KelvorReader.log"
[ -f "$folder/KelvrReader.ini" ] || fail "the reader from the zip wrote no KelvrReader.ini beside it"
[ ! -e "$documents" ] || fail "the reader from the zip wrote into $documents"
ok "kelvor-reader.exe starts from the zip's folder, keeps its settings and log beside itself"
ok "and ends cleanly on taskkill"

echo "Installing ($(basename "$setup") /S)"
timeout 300 "$wine" "$setup" /S || fail "the installer failed"
[ -d "$instdir" ] || fail "nothing was installed in $instdir"
diff -rq -x Uninstall.exe "$staged" "$instdir" || fail "$instdir differs from the package"
ok "$(find "$instdir" -type f | wc -l) files in C:\\Program Files\\KelvorReader2, the package's"
[ -f "$instdir/Uninstall.exe" ] || fail "no Uninstall.exe"
ok "Uninstall.exe"
[ -f "$menu/KelvorReader2.lnk" ] || fail "no Start menu entry in $menu"
[ -f "$menu/Uninstall KelvorReader2.lnk" ] || fail "no Start menu entry for uninstalling"
ok "Start menu entries KelvorReader2 and Uninstall KelvorReader2"
check_key() {
    [ "$(registry_value DisplayName)" = KelvorReader2 ] || fail "DisplayName is not KelvorReader2"
    [ "$(registry_value DisplayVersion)" = "$version" ] || fail "DisplayVersion is not $version"
    [ "$(registry_value Publisher)" = KelvorReader2 ] || fail "Publisher is not KelvorReader2"
    [ "$(registry_value UninstallString)" = '"C:\Program Files\KelvorReader2\Uninstall.exe"' ] ||
        fail "UninstallString is $(registry_value UninstallString)"
    [ "$(registry_value QuietUninstallString)" = \
        '"C:\Program Files\KelvorReader2\Uninstall.exe" /S' ] ||
        fail "QuietUninstallString is $(registry_value QuietUninstallString)"
}
check_key
ok "$key: DisplayName, DisplayVersion $version, Publisher, UninstallString, QuietUninstallString"

echo "The installed reader"
run_reader 'C:\Program Files\KelvorReader2\kelvor-reader.exe' "$documents/KelvorReader.log" \
    "$instdir/KelvorReader.log"
[ -f "$documents/KelvrReader.ini" ] || fail "no KelvrReader.ini in $documents"
grep -q 'workbooks in C:\\users\\.*\\Documents\\KelvorReader2\\Workbooks' \
    "$documents/KelvorReader.log" || fail "the log does not name the documents' Workbooks"
diff -rq -x Uninstall.exe "$staged" "$instdir" || fail "the reader wrote into $instdir"
ok "settings and log in Documents\\KelvorReader2, nothing new in Program Files"
mkdir -p "$documents/Workbooks"
echo "stands for a workbook" >"$documents/Workbooks/Com Channel 1 2026-12-07 14-03.xlsx"
fingerprint "$documents" >"$work/documents.before"

echo "Installing again over it"
timeout 300 "$wine" "$setup" /S || fail "the second installation failed"
timeout 120 "$wineserver" -w || true
diff -rq -x Uninstall.exe "$staged" "$instdir" || fail "$instdir differs after installing again"
if [ ! -f "$instdir/Uninstall.exe" ] || [ ! -f "$menu/KelvorReader2.lnk" ]; then
    fail "the uninstaller or the Start menu entry went missing"
fi
check_key
ok "the same files, uninstaller, Start menu entry and key"

echo "Uninstalling (QuietUninstallString)"
# Through a batch file: the command line reaches Windows exactly as registered.
printf '@%s\r\n' "$(registry_value QuietUninstallString)" >"$work/uninstall.bat"
timeout 120 "$wine" cmd /c "$(winout winepath -w "$work/uninstall.bat")" ||
    fail "the uninstaller failed"
# It has copied itself to the temporary folder and runs from there: wait for every program
# of the prefix to end.
timeout 120 "$wineserver" -w || fail "the uninstaller did not end"
[ ! -e "$instdir" ] || fail "$instdir is still there: $(find "$instdir" | head)"
ok "C:\\Program Files\\KelvorReader2 is gone"
[ ! -e "$menu" ] || fail "the Start menu folder is still there"
ok "the Start menu entries are gone"
if "$wine" reg query "$key" >/dev/null 2>&1; then
    fail "$key is still there"
fi
ok "the Add/Remove Programs key is gone"
fingerprint "$documents" >"$work/documents.after"
diff "$work/documents.before" "$work/documents.after" ||
    fail "the uninstaller changed Documents\\KelvorReader2"
ok "Documents\\KelvorReader2 is untouched: $(wc -l <"$work/documents.after") files, the workbook among them"
echo "The Windows packages passed every check."
# The prefix takes some 700 MB; a failed run keeps it for a look.
"$wineserver" -k >/dev/null 2>&1 || true
rm -rf "$work"

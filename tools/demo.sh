#!/usr/bin/env bash
# Shows the reader at work without any tester: two simulated testers on pseudo-terminals send
# sample reports to channels 0 and 1, the reader exports them into workbooks, ends cleanly,
# and this script prints where the workbooks are and what they hold.
# Called by `./dev demo` after the build; leaves no process behind.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"
demo=$(mktemp -d /tmp/kelvor-demo.XXXXXX)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
}
trap cleanup EXIT

# The reader keeps its settings and workbooks beside its executable.
cp "$build/kelvor-reader" "$demo/"

start_sim() { # name files...
    local name=$1
    shift
    mkfifo "$demo/$name.go"
    "$build/kelvor-sim" --pty --wait --pause 2 --hold 2 "$@" <"$demo/$name.go" >"$demo/$name.out" 2>&1 &
    pids+=($!)
}
start_sim tester0 "$top/samples/rate-shipper-lbf-in-50.txt" "$top/samples/rate-paper-core-n-mm-150.txt"
start_sim tester1 "$top/samples/load-bottle-creep-no-humidity-kgf-mm.txt" \
    "$top/samples/rate-bottle-topload-kgf-mm-300.txt"
exec 3>"$demo/tester0.go" 4>"$demo/tester1.go"

device_of() { # waits for the simulator to name its pseudo-terminal
    for _ in $(seq 100); do
        local dev
        dev=$(sed -n 's/^PTY //p' "$demo/$1.out")
        [ -n "$dev" ] && { echo "$dev"; return; }
        sleep 0.1
    done
    echo "the simulator did not start" >&2
    exit 1
}
dev0=$(device_of tester0)
dev1=$(device_of tester1)
cat >"$demo/KelvrReader.ini" <<INI
[KelvorReaderCH0]
Description=Demo press A
Enabled=1
CommPort=1
[KelvorReaderCH1]
Description=Demo press B
Enabled=1
CommPort=2
[KelvorReaderPorts]
Com1=$dev0
Com2=$dev1
INI

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    Xvfb -displayfd 5 -screen 0 1024x768x24 5>"$demo/display" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$demo/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$demo/display")"
fi
echo "Starting the reader in $demo (display $DISPLAY)"
"$demo/kelvor-reader" >"$demo/reader.log" 2>&1 &
reader=$!
pids+=($reader)

holds_open() { ls -l "/proc/$reader/fd" 2>/dev/null | grep -q -- "-> $1\$"; }
for _ in $(seq 100); do
    holds_open "$dev0" && holds_open "$dev1" && break
    sleep 0.1
done
holds_open "$dev0" && holds_open "$dev1" || { echo "the reader did not open its ports" >&2; exit 1; }

echo "Playing sample reports on channels 0 and 1 (at the testers' pace, about 20 s)..."
echo >&3
echo >&4
for _ in $(seq 600); do
    grep -q DONE "$demo/tester0.out" && grep -q DONE "$demo/tester1.out" && break
    sleep 0.1
done
kill -TERM "$reader"
wait "$reader" || true
echo "The reader has ended; its settings are in $demo/KelvrReader.ini"
echo
echo "Workbooks in $demo/Workbooks:"
/usr/bin/python3 - "$demo/Workbooks" <<'PY'
import pathlib, sys
import openpyxl
for path in sorted(pathlib.Path(sys.argv[1]).glob("*.xlsx")):
    book = openpyxl.load_workbook(path, read_only=False)
    names = [s.title for s in book._sheets]
    tests = [s for s in book.worksheets
             if s.title.startswith("Data ") and s["A1"].value in
             ("CONSTANT RATE TEST DATA", "CONSTANT LOAD TEST DATA")]
    print(f"  {path}")
    print(f"    sheets: {', '.join(names)}")
    print(f"    tests:  {len(tests)}")
PY

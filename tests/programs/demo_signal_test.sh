#!/bin/bash
# SIGINT, SIGTERM and SIGHUP end the running demo through its close path,
# headless: exit code 1, and the display given back first. Checked twice for
# each signal: on demo_watch (the real WinMain, headless, saying when the
# display goes back) and on the demo itself (whose first frames
# show in the flip log).
# Usage: demo_signal_test.sh DEMO_WATCH ONDULIX EARTH_BMP
watch=$1 demo=$2 earth=$3
source "$(dirname "$0")/program_lib.sh" demo-signal
cp "$earth" "$work/earth.bmp"

# Polls (up to 20 s) until the file has a line matching the pattern.
wait_for_line() {
    local file=$1 pattern=$2 i
    for i in $(seq 200); do
        grep -q "$pattern" "$file" 2>/dev/null && return 0
        kill -0 "$pid" 2>/dev/null || fail "ended before \"$pattern\" appeared in $file"
        sleep 0.1
    done
    fail "no \"$pattern\" in $file within 20 s"
}

# Polls (up to 10 s) until the started program ends; sets status.
wait_end() {
    local i
    for i in $(seq 100); do
        if ! kill -0 "$pid" 2>/dev/null; then
            status=0
            wait "$pid" || status=$?
            pid=""
            return 0
        fi
        sleep 0.1
    done
    fail "still running 10 s after the signal"
}

for sig in INT TERM HUP; do
    rm -f "$work/out" "$work/err" "$work/flips"
    (cd "$work" && exec "$watch") >"$work/out" 2>"$work/err" &
    pid=$!
    wait_for_line "$work/out" "frame shown"
    kill "-$sig" "$pid"
    wait_end
    [[ $status -eq 1 ]] || fail "demo_watch: exit code $status after SIG$sig, expected 1"
    grep -q "display given back" "$work/out" || fail "demo_watch: display not given back after SIG$sig"
    echo "demo_watch: SIG$sig -> exit code 1, $(grep "display given back" "$work/out")"

    (cd "$work" && ONDULIX_FLIP_LOG="$work/flips" exec "$demo") >"$work/out" 2>"$work/err" &
    pid=$!
    wait_for_line "$work/flips" "^3 " # three frames flipped
    kill "-$sig" "$pid"
    wait_end
    [[ $status -eq 1 ]] || fail "ondulix: exit code $status after SIG$sig, expected 1"
    echo "ondulix: SIG$sig after $(wc -l <"$work/flips") frames -> exit code 1"
done

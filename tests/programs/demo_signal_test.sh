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

for sig in INT TERM HUP; do
    rm -f "$work/out" "$work/err" "$work/flips"
    (cd "$work" && exec "$watch") >"$work/out" 2>"$work/err" &
    pid=$!
    wait_until '"frame shown"' grep -qs "frame shown" "$work/out"
    kill "-$sig" "$pid"
    wait_end
    [[ $status -eq 1 ]] || fail "demo_watch: exit code $status after SIG$sig, expected 1"
    grep -q "display given back" "$work/out" || fail "demo_watch: display not given back after SIG$sig"
    echo "demo_watch: SIG$sig -> exit code 1, $(grep "display given back" "$work/out")"

    (cd "$work" && ONDULIX_FLIP_LOG="$work/flips" exec "$demo") >"$work/out" 2>"$work/err" &
    pid=$!
    wait_until "frame 3 in the flip log" grep -qs "^3 " "$work/flips"
    kill "-$sig" "$pid"
    wait_end
    [[ $status -eq 1 ]] || fail "ondulix: exit code $status after SIG$sig, expected 1"
    echo "ondulix: SIG$sig after $(wc -l <"$work/flips") frames -> exit code 1"
done

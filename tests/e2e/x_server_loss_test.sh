#!/usr/bin/env bash
# The X server going away under the running windowed demo: the demo ends
# within a few seconds instead of hanging, whatever status it ends with.
# Usage: x_server_loss_test.sh ONDULIX ASSETS
set -euo pipefail
ondulix=$1 assets=$2
source "$(dirname "$0")/lib.sh"

start_xvfb
xvfb=${E2E_PIDS[0]}
export ONDULIX_WINDOWED=1 ONDULIX_SCALE=1 SDL_RENDER_DRIVER=software
unset ONDULIX_BACKEND
run_dir="$E2E_TMP/run"
mkdir -p "$run_dir"
cp "$assets/earth.bmp" "$run_dir/"
start_demo "$run_dir" env ONDULIX_FLIP_LOG="$E2E_TMP/flips" "$ondulix"
demo=$E2E_DEMO_PID

wait_for_window Ondulix >/dev/null
for _ in $(seq 200); do
    [[ -f "$E2E_TMP/flips" ]] && (($(wc -l <"$E2E_TMP/flips") >= 10)) && break
    kill -0 "$demo" 2>/dev/null || fail "the demo ended before the X server went away"
    sleep 0.1
done
(($(wc -l <"$E2E_TMP/flips") >= 10)) || fail "no 10 frames within 20 s"

kill -KILL "$xvfb"
wait "$xvfb" 2>/dev/null || true
gone=$(now_ms)
wait_exit "$demo" 5
echo "the demo ended $(($(now_ms) - gone)) ms after the X server went away," \
    "exit status $E2E_STATUS, after $(wc -l <"$E2E_TMP/flips") frames"
echo "--- its stderr:"
cat "$E2E_TMP/demo.log"

#!/bin/bash
# palette_window, headless: once its first frame is shown, SIGTERM is a
# close request that ends it through its window (WM_CLOSE, DestroyWindow,
# WM_DESTROY, WM_QUIT) with exit code 1.
program=$1
picture=$2
source "$(dirname "$0")/program_lib.sh" palette-window

"$program" "$picture" >"$work/out" 2>"$work/err" &
pid=$!
shown=""
for _ in $(seq 200); do # up to 20 s
    if grep -q "first frame shown" "$work/out"; then
        shown=yes
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
[[ -n "$shown" ]] || fail "no first frame"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[[ $status -eq 1 ]] || fail "exit code $status after SIGTERM, expected 1"
echo "ended with exit code 1 after SIGTERM"

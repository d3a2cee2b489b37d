#!/bin/bash
# palette_window, headless: once its first frame is shown, SIGTERM is a
# close request that ends it through its window (WM_CLOSE, DestroyWindow,
# WM_DESTROY, WM_QUIT) with exit code 1.
program=$1
picture=$2
source "$(dirname "$0")/program_lib.sh" palette-window

"$program" "$picture" >"$work/out" 2>"$work/err" &
pid=$!
wait_until '"first frame shown"' grep -qs "first frame shown" "$work/out"
kill -TERM "$pid"
wait_end
[[ $status -eq 1 ]] || fail "exit code $status after SIGTERM, expected 1"
echo "ended with exit code 1 after SIGTERM"

#!/usr/bin/env bash
# The native demo on a real X server (Xvfb), windowed at 640x480 so that a
# screenshot of its window is 1:1 with the frames it draws.
# Usage: native_demo_test.sh CASE ONDULIX FRAME_RENDERER ASSETS X_CLOSE REFERENCES
#   CASE: frames-then-key | close-button | alt-f4 | missing-picture |
#         missing-picture-sigterm (the "Message" box up, the demo gets SIGTERM:
#         it ends as if OK were pressed, and takes its box with it)
set -euo pipefail
case_name=$1 ondulix=$2 renderer=$3 assets=$4 x_close=$5 references=$6
source "$(dirname "$0")/lib.sh"

start_xvfb
# One frame pixel to one screen pixel, whatever the caller's settings.
export ONDULIX_WINDOWED=1 ONDULIX_SCALE=1
unset ONDULIX_BACKEND
# SDL's software renderer: exact pixels, and no OpenGL stack to start in a
# server without a GPU.
export SDL_RENDER_DRIVER=software
run_dir="$E2E_TMP/run"
mkdir -p "$run_dir"
[[ "$case_name" == missing-picture* ]] || cp "$assets/earth.bmp" "$run_dir/"

started=$(now_ms)
start_demo "$run_dir" "$ondulix"
demo=$E2E_DEMO_PID

case "$case_name" in
frames-then-key)
    window=$(wait_for_window Ondulix)
    expect_frames "$renderer" "$assets" "$(window_origin "$window")" 3 "$started"
    send_keys "$window" space
    expect_ends_with_1 "$demo" "$window" 15 5
    ;;
close-button)
    window=$(wait_for_window Ondulix)
    expect_frames "$renderer" "$assets" "$(window_origin "$window")" 1 "$started"
    "$x_close" "$window" # what a window manager's close button sends
    expect_ends_with_1 "$demo" "$window" 15 5
    ;;
alt-f4)
    window=$(wait_for_window Ondulix)
    expect_frames "$renderer" "$assets" "$(window_origin "$window")" 1 "$started"
    send_keys "$window" alt+F4
    expect_ends_with_1 "$demo" "$window" 15 5
    ;;
missing-picture)
    window=$(wait_for_window Ondulix)
    box=$(wait_for_window Message)
    expect_window_image "$box" "$references/native-message-box.png"
    kill -0 "$demo" 2>/dev/null || fail "the demo ended before the box was dismissed"
    send_keys "$box" Return
    expect_ends_with_1 "$demo" "$window" 15 5
    ;;
missing-picture-sigterm)
    window=$(wait_for_window Ondulix)
    box=$(wait_for_window Message)
    kill -TERM "$demo"
    expect_ends_with_1 "$demo" "$window" 15 5
    wait_window_gone "$box" 5
    echo "the box went with it"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac

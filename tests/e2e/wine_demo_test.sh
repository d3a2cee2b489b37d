#!/usr/bin/env bash
# The Windows build under Wine in a private Xvfb: the virtual desktop takes
# the root window, and the demo's 640x480 display is its top-left corner.
# Usage: wine_demo_test.sh CASE ONDULIX_EXE FRAME_RENDERER ASSETS REFERENCES
#   CASE: frames-then-key | missing-picture
set -euo pipefail
case_name=$1 exe=$2 renderer=$3 assets=$4 references=$5
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/wine_env.sh"

# Every Wine process of the prefix ends with the test.
E2E_ON_EXIT=wine_stop
[[ -f "$exe" ]] || fail "$exe is missing: build the mingw-x64 preset first"
start_xvfb
wine_env_prepare
wine_start_desktop

run_dir="$E2E_TMP/run"
mkdir -p "$run_dir"
cp "$exe" "$run_dir/ondulix.exe"
[[ "$case_name" == missing-picture ]] || cp "$assets/earth.bmp" "$run_dir/"

started=$(now_ms)
start_demo "$run_dir" env LANG=ja_JP.UTF-8 wine ondulix.exe
demo=$E2E_DEMO_PID

case "$case_name" in
frames-then-key)
    window=$(wait_for_window Ondulix 60)
    expect_frames "$renderer" "$assets" "0 0" 3 "$started"
    send_keys "$window" space
    expect_ends_with_1 "$demo" "$window" 30 10
    ;;
missing-picture)
    window=$(wait_for_window Ondulix 60)
    box=$(wait_for_window Message 30)
    expect_window_image "$box" "$references/wine-message-box.png"
    send_keys "$box" Return
    expect_ends_with_1 "$demo" "$window" 30 10
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac

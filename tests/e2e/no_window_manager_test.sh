#!/usr/bin/env bash
# The native demo on an X server with no window manager (a kiosk started
# with xinit): full screen covers the whole screen, with both pictures whole,
# scaled 4:3 and centred (scaled down on a screen smaller than the mode);
# a scaled window opens centred.
# Usage: no_window_manager_test.sh CASE SIZE ONDULIX FRAME_RENDERER ASSETS
#   CASE: full-screen | window-scale-2
set -euo pipefail
case_name=$1 size=$2 ondulix=$3 renderer=$4 assets=$5
source "$(dirname "$0")/lib.sh"

width=${size%x*} height=${size#*x}
start_xvfb "$size"
unset ONDULIX_BACKEND ONDULIX_DISPLAY
export SDL_RENDER_DRIVER=software

# "LEFT RIGHT" columns (right one past the end) of the non-black pixels of
# a picture within WIDTHxHEIGHT+X+Y, in the picture's columns.
columns() {
    local region=$2 x
    x=${region#*+}
    x=${x%%+*}
    convert "$1" -crop "$region" +repage -bordercolor black -border 1 -trim \
        -format '%w %X' info: | awk -v x="$x" '{ sub(/^\+/, "", $2); print x + $2 - 1, x + $2 - 1 + $1 }'
}

case "$case_name" in
full-screen)
    export ONDULIX_WINDOWED=0
    start_demo "$assets" "$ondulix"
    window=$(wait_for_window Ondulix)
    expect_geometry "$window" "${size}+0+0"
    # Where each picture's columns are in a frame (they do not move: the
    # wave moves rows), and where they must be on this screen: scaled by
    # the largest factor that fits 640x480 in it, centred.
    mkdir "$E2E_TMP/frames"
    "$renderer" write "$assets" "$E2E_TMP/frames" 1 1 >/dev/null
    frame="$E2E_TMP/frames/frame-0001.png"
    read -r l0 l1 < <(columns "$frame" 320x480+0+0)
    read -r r0 r1 < <(columns "$frame" 320x480+320+0)
    sleep 1 # frames drawn for the screen's size
    shot="$E2E_TMP/screen.png"
    screenshot "$shot"
    read -r sl0 sl1 < <(columns "$shot" "$((width / 2))x${height}+0+0")
    read -r sr0 sr1 < <(columns "$shot" "$((width / 2))x${height}+$((width / 2))+0")
    echo "frame: pictures at columns $l0-$l1 and $r0-$r1; screen $size: $sl0-$sl1 and $sr0-$sr1"
    awk -v w="$width" -v h="$height" -v f="$l0 $l1 $r0 $r1" -v s="$sl0 $sl1 $sr0 $sr1" 'BEGIN {
        scale = w / 640 < h / 480 ? w / 640 : h / 480
        left = (w - 640 * scale) / 2
        split(f, frame, " "); split(s, shown, " ")
        for (i = 1; i <= 4; ++i) {
            want = left + frame[i] * scale
            if (shown[i] < want - 1 - scale || shown[i] > want + 1 + scale) {
                printf "column %d is %d on the screen, expected %.1f\n", i, shown[i], want
                bad = 1
            }
        }
        exit bad }' || fail "the pictures are not whole, scaled and centred (see $shot)"
    ;;
window-scale-2)
    export ONDULIX_WINDOWED=1 ONDULIX_SCALE=2
    start_demo "$assets" "$ondulix"
    window=$(wait_for_window Ondulix)
    expect_geometry "$window" "1280x960+$(((width - 1280) / 2))+$(((height - 960) / 2))"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
echo "window $(window_geometry "$window") on a $size screen"
send_keys "$window" space
expect_ends_with_1 "$E2E_DEMO_PID" "$window" 15 5

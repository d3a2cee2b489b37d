#!/bin/bash
# The demo itself on the headless back end, with no display at all, saves
# the frames it was asked for, and they are byte for byte the frame
# renderer's; a close signal then ends it with exit code 1.
# Usage: headless_frames_test.sh ONDULIX FRAME_RENDERER EARTH_BMP [EMULATOR...]
#   EMULATOR... runs a cross-built ONDULIX (qemu-aarch64 for arm64's).
demo=$1 renderer=$2 earth=$3
shift 3
source "$(dirname "$0")/program_lib.sh" headless-frames
cp "$earth" "$work/earth.bmp"
mkdir "$work/saved" "$work/rendered"

(cd "$work" && exec env -u DISPLAY -u WAYLAND_DISPLAY ONDULIX_BACKEND=headless \
    ONDULIX_SAVE_FRAMES="$work/saved" ONDULIX_SAVE_EVERY=20 "$@" "$demo") 2>"$work/err" &
pid=$!
# Frame 80 written means frames 20 to 60 are complete.
wait_until frame-0080.png test -e "$work/saved/frame-0080.png"
kill -TERM "$pid"
wait_end
[[ $status -eq 1 ]] || fail "exit code $status after SIGTERM, expected 1"
[[ ! -e "$work/saved/frame-0010.png" ]] || fail "saved a frame that is not a 20th"

"$renderer" write "$work" "$work/rendered" 20 60 20 >/dev/null
for n in 0020 0040 0060; do
    cmp -s "$work/saved/frame-$n.png" "$work/rendered/frame-$n.png" ||
        fail "frame $n differs from the frame renderer's"
done
echo "frames 20, 40 and 60 saved headless equal the frame renderer's; SIGTERM -> exit code 1"

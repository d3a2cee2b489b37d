#!/bin/bash
# palette_window on a private Xvfb, windowed: its frame is on the screen in
# the palette's colours (checked at a few known pixels of a screenshot), and
# a key press ends it with exit code 1. Skipped (77) without Xvfb, xdotool
# or ImageMagick.
set -euo pipefail
program=$1
picture=$2
for tool in Xvfb xdotool xdpyinfo import convert; do
    command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/palette-window-x.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    if [[ -n "${KEEP:-}" ]]; then echo "kept $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [[ -s "$work/err" ]] && { echo "--- program stderr:" >&2; cat "$work/err" >&2; }
    KEEP=1
    exit 1
}

# A display number of Xvfb's own choosing, so parallel runs never collide.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
pids+=($!)
read -r -t 10 display <"$work/displayfd" || fail "Xvfb did not start"
export DISPLAY=":$display" ONDULIX_WINDOWED=1
unset SDL_VIDEODRIVER WAYLAND_DISPLAY ONDULIX_BACKEND ONDULIX_SCALE
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.05
done

"$program" "$picture" >"$work/out" 2>"$work/err" &
program_pid=$!
pids+=("$program_pid")
for _ in $(seq 200); do # up to 20 s
    grep -q "first frame shown" "$work/out" && break
    kill -0 "$program_pid" 2>/dev/null || fail "ended before its first frame"
    sleep 0.1
done
grep -q "first frame shown" "$work/out" || fail "no first frame"
window=$(xdotool search --name '^palette_window$' | head -1)
[[ -n "$window" ]] || fail "no window titled palette_window"
geometry=$(xdotool getwindowgeometry "$window")
position=$(awk '/Position/ {print $2}' <<<"$geometry")
size=$(awk '/Geometry/ {print $2}' <<<"$geometry")
[[ "$size" == 640x480 ]] || fail "window is $size, not 640x480"

# Index x*256/640 across the top bar; greys from index 216 down the left.
pixel() { convert "$work/shot.png" -format "%[pixel:p{$1}]" info:; }
expect=("320,50 srgb(153,153,102)" "0,50 srgb(0,0,0)" "639,50 srgb(242,242,242)"
        "20,115 srgb(8,8,8)" "20,430 srgb(242,242,242)" "5,5 srgb(0,0,0)")
matched=""
for _ in $(seq 50); do # the first frames may still be on their way
    import -window root -crop "640x480+${position%,*}+${position#*,}" +repage "$work/shot.png"
    matched=yes
    for e in "${expect[@]}"; do
        [[ "$(pixel "${e% *}")" == "${e#* }" ]] || { matched=""; break; }
    done
    [[ -n "$matched" ]] && break
    sleep 0.1
done
if [[ -z "$matched" ]]; then
    for e in "${expect[@]}"; do
        echo "pixel ${e% *}: $(pixel "${e% *}") (expected ${e#* })" >&2
    done
    fail "the frame on the screen is not the palettized frame"
fi

xdotool windowfocus "$window"
xdotool key Escape
status=0
for _ in $(seq 100); do # up to 10 s
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "still running 10 s after Escape"
wait "$program_pid" || status=$?
[[ $status -eq 1 ]] || fail "exit code $status after Escape, expected 1"
echo "frame shown as expected; Escape ended it with exit code 1"

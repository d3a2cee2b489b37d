#!/usr/bin/env bash
# Makes the pictures of docs/ from the demo's own frames (frame_renderer):
# docs/screenshot.png (frame 70, the whole 640x480 screen) and
# docs/cycle.gif (one full amplitude cycle, frames 1-669, every 6th frame,
# the rows the wave can reach); and, where the browser build is built
# (build/web), docs/web.png and docs/web-reduced-motion.png, its page in
# headless Chromium (tools/web_screenshot.mjs).
# Usage: tools/make_doc_pictures.sh [BUILD_DIR]   (default build/native)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
renderer="$build/tools/frame_renderer"
[[ -x "$renderer" ]] || { echo "build the native preset first ($renderer)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$renderer" write "$root/assets" "$work" 70 70
cp "$work/frame-0070.png" "$root/docs/screenshot.png"

rm -f "$work"/frame-*.png
"$renderer" write "$root/assets" "$work" 1 669 6
# 6 frames of 16 ms each: about 10 hundredths of a second a picture.
convert -delay 10 -loop 0 "$work"/frame-*.png -crop 640x340+0+70 +repage -layers Optimize \
    "$root/docs/cycle.gif"
ls -l "$root/docs/screenshot.png" "$root/docs/cycle.gif"

if [[ -f "$root/build/web/ondulix.js" ]]; then
    node "$root/tools/web_screenshot.mjs" "$root/build/web" "$root/docs"
    ls -l "$root/docs"/web*.png
fi

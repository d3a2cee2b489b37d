#!/usr/bin/env bash
# Sets up, builds and runs the demo from a folder holding earth.bmp.
# ONDULIX_WINDOWED=1 runs it in a 640x480 window instead of full screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/deps.sh" demo
cmake --preset native -S "$root" >/dev/null
cmake --build --preset native --target ondulix
# A relative folder for saved frames (headless) is the caller's, not assets/.
if [[ -n "${ONDULIX_SAVE_FRAMES:-}" ]]; then
    [[ "$ONDULIX_SAVE_FRAMES" == /* ]] || export ONDULIX_SAVE_FRAMES="$PWD/$ONDULIX_SAVE_FRAMES"
    mkdir -p "$ONDULIX_SAVE_FRAMES"
fi
cd "$root/assets"
# Its stderr reaches the user as it comes (tee -i lives through Ctrl+C, which
# the demo answers by ending), and is kept to see whether it found no
# display; then the two ways that work without one are named.
log=$(mktemp "${TMPDIR:-/tmp}/ondulix-demo.XXXXXX")
trap 'rm -f "$log"' EXIT
exec 3>&1
status=0
"$root/build/native/ondulix" 2>&1 >&3 3>&- | tee -i "$log" >&2 || status=${PIPESTATUS[0]}
if grep -q '^no display for windows:' "$log"; then
    echo "Without a display: ONDULIX_BACKEND=headless ONDULIX_SAVE_FRAMES=frames tools/demo.sh" \
        "saves its frames in ./frames (Ctrl+C ends it); tools/web.sh shows it in a browser." >&2
fi
exit "$status"

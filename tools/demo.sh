#!/usr/bin/env bash
# Sets up, builds and runs the demo from a folder holding earth.bmp.
# ONDULIX_WINDOWED=1 runs it in a 640x480 window instead of full screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/deps.sh" demo
cmake --preset native -S "$root" >/dev/null
cmake --build --preset native --target ondulix
cd "$root/assets"
exec "$root/build/native/ondulix"

#!/usr/bin/env bash
# The web zip: one folder with the page and the program (its picture
# inside), and nothing of the build beside them. Unpacked into an empty
# folder, the page runs in headless Chromium as the build's does, served and
# opened from disk: frames of the demo, then a key ends it with exit code 1
# shown on the page.
# Usage: web_zip_test.sh WEB.zip FRAME_RENDERER ASSETS_DIR TEST_DATA_DIR
set -euo pipefail
zip=$(readlink -f "$1") renderer=$2 assets=$3 data=$4
tests=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/ondulix-web-zip.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

name=$(basename "$zip" .zip)
[[ "$name" == ondulix-*-web ]] || { echo "FAIL: $zip is not named ondulix-VERSION-web" >&2; exit 1; }
listing=$(cmake -E tar tf "$zip" | grep -v '/$' | LC_ALL=C sort | tr '\n' ' ')
want="$name/LICENSE.txt $name/THIRD-PARTY-NOTICES.txt $name/index.html $name/ondulix.js $name/page.js"
want+=" $name/stats.js "
[[ "$listing" == "$want" ]] || { echo "FAIL: $zip holds: $listing" >&2; exit 1; }
(cd "$tmp" && cmake -E tar xf "$zip")
echo "$name: $listing"
for case in key from-disk; do
    node "$tests/web/page_test.mjs" chromium "$case" "$tmp/$name" "$renderer" "$assets" "$data"
done

#!/usr/bin/env bash
# The wave's landing rows of the WebAssembly build (run by node) equal the
# native build's, frame by frame: the digests of the two listings first, and
# where they differ, the listing compared row by row to say where.
# Usage: wave_rows_test.sh WAVE_ROWS.js NATIVE_WAVE_ROWS FIRST LAST
set -euo pipefail
web=$1 native=$2 first=$3 last=$4
[[ -x "$native" ]] || { echo "no native wave_rows at $native (cmake --preset native)" >&2; exit 1; }

web_digest=$(node "$web" digest "$first" "$last")
native_digest=$("$native" digest "$first" "$last")
echo "web:    $web_digest"
echo "native: $native_digest"
[[ "$native_digest" == "frames $first-$last "* ]] || { echo "FAIL: no native digest" >&2; exit 1; }
if [[ "$web_digest" == "$native_digest" ]]; then
    echo "the landing rows of frames $first-$last are the same"
    exit 0
fi
# Through a file: the web build's standard input under node takes a pipe
# that is empty for a moment as a read error.
listing=$(mktemp "${TMPDIR:-/tmp}/ondulix-wave-rows.XXXXXX")
trap 'rm -f "$listing"' EXIT
"$native" rows "$first" "$last" >"$listing"
node "$web" compare "$first" "$last" <"$listing" || true
echo "FAIL: the web build's landing rows differ from the native build's" >&2
exit 1

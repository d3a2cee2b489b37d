#!/usr/bin/env bash
# The wave's landing rows of another build (the browser's under node, a
# cross-build's under its emulator) equal the native build's, frame by
# frame: the digests of the two listings first, and where they differ, the
# listing compared row by row to say where.
# Usage: wave_rows_test.sh NATIVE_WAVE_ROWS FIRST LAST NAME COMMAND...
#   COMMAND... runs the other build's wave_rows (e.g. node wave_rows.js).
set -euo pipefail
native=$1 first=$2 last=$3 name=$4
shift 4
[[ -x "$native" ]] || { echo "no native wave_rows at $native (cmake --preset native)" >&2; exit 1; }

other_digest=$("$@" digest "$first" "$last")
native_digest=$("$native" digest "$first" "$last")
printf '%-7s %s\n' "$name:" "$other_digest" "native:" "$native_digest"
[[ "$native_digest" == "frames $first-$last "* ]] || { echo "FAIL: no native digest" >&2; exit 1; }
if [[ "$other_digest" == "$native_digest" ]]; then
    echo "the landing rows of frames $first-$last are the same"
    exit 0
fi
# Through a file: the web build's standard input under node takes a pipe
# that is empty for a moment as a read error.
listing=$(mktemp "${TMPDIR:-/tmp}/ondulix-wave-rows.XXXXXX")
trap 'rm -f "$listing"' EXIT
"$native" rows "$first" "$last" >"$listing"
"$@" compare "$first" "$last" <"$listing" || true
echo "FAIL: the $name build's landing rows differ from the native build's" >&2
exit 1

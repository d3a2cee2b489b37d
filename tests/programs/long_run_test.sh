#!/bin/bash
# A long run of the real demo, as fast as frames can be drawn, ended by a key
# after FRAMES frames: exit code 1 with every frame shown and the display
# given back. With "valgrind" as the mode it runs under memcheck, which must
# find no invalid access and no leak; 77 (skipped) without valgrind.
# Usage: long_run_test.sh DEMO_WATCH EARTH_BMP FRAMES [valgrind]
set -euo pipefail
watch=$1 earth=$2 frames=$3 mode=${4:-plain}
work=$(mktemp -d "${TMPDIR:-/tmp}/long-run.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$earth" "$work/earth.bmp"
# demo_watch runs headless itself; no window system is even named.
export DISPLAY= WAYLAND_DISPLAY=

runner=()
if [[ $mode == valgrind ]]; then
    if ! command -v valgrind >/dev/null; then
        echo "valgrind is not installed: skipped"
        exit 77
    fi
    runner=(valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect
        --errors-for-leak-kinds=definite,indirect --error-exitcode=99 --track-fds=no
        --log-file="$work/valgrind.log")
fi

status=0
start=$(date +%s%3N)
(cd "$work" && exec "${runner[@]}" "$watch" "$frames") >"$work/out" 2>"$work/err" || status=$?
elapsed=$(($(date +%s%3N) - start))
if [[ -f "$work/valgrind.log" ]]; then
    grep -E "ERROR SUMMARY|definitely lost|indirectly lost|in use at exit" "$work/valgrind.log" || true
fi
if [[ $status -ne 1 ]]; then
    echo "FAIL: exit code $status, expected 1" >&2
    cat "$work/err" >&2
    [[ -f "$work/valgrind.log" ]] && cat "$work/valgrind.log" >&2
    exit 1
fi
expected="display given back after $frames frames"
if ! grep -qx "$expected" "$work/out"; then
    echo "FAIL: expected \"$expected\", got:" >&2
    cat "$work/out" >&2
    exit 1
fi
echo "$frames frames ($mode) in ${elapsed} ms: exit code 1, $expected"

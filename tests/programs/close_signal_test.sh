#!/bin/bash
# palette_window, headless: once its first frame is shown, SIGTERM is a
# close request that ends it through its window (WM_CLOSE, DestroyWindow,
# WM_DESTROY, WM_QUIT) with exit code 1.
set -euo pipefail
program=$1
picture=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/palette-window.XXXXXX")
pid=""
cleanup() {
    if [[ -n "$pid" ]]; then
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

"$program" "$picture" >"$work/out" 2>"$work/err" &
pid=$!
shown=""
for _ in $(seq 200); do # up to 20 s
    if grep -q "first frame shown" "$work/out"; then
        shown=yes
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if [[ -z "$shown" ]]; then
    echo "FAIL: no first frame; stderr:" >&2
    cat "$work/err" >&2
    exit 1
fi
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
if [[ $status -ne 1 ]]; then
    echo "FAIL: exit code $status after SIGTERM, expected 1; stderr:" >&2
    cat "$work/err" >&2
    exit 1
fi
echo "ended with exit code 1 after SIGTERM"

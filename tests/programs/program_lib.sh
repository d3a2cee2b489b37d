# Shared by the scripts that run a program in the background and judge how it
# ends: a scratch folder ($work), the program's pid ($pid, killed and reaped
# on the way out if it still runs), and fail, which shows what the program
# wrote to $work/out and $work/err.
# Usage: source program_lib.sh NAME   (NAME names the scratch folder)
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
pid=""
program_cleanup() {
    if [[ -n "$pid" ]]; then
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap program_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    local f
    for f in "$work"/out "$work"/err; do
        [[ -s "$f" ]] && { echo "--- $(basename "$f"):" >&2; cat "$f" >&2; }
    done
    exit 1
}

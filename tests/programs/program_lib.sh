# Shared by the scripts that run a program in the background and judge how it
# ends: a scratch folder ($work), the program's pid ($pid, killed and reaped
# on the way out if it still runs), fail, which shows what the program
# wrote to $work/out and $work/err, and the waits for it.
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

# Polls (up to 20 s) until the command succeeds: WHAT names what is awaited.
# Fails when the program ends first.
wait_until() {
    local what=$1 i
    shift
    for i in $(seq 200); do
        "$@" && return 0
        kill -0 "$pid" 2>/dev/null || fail "ended before $what"
        sleep 0.1
    done
    fail "no $what within 20 s"
}

# Polls (up to 10 s) until the program ends; sets status to its exit code.
wait_end() {
    local i
    for i in $(seq 100); do
        if ! kill -0 "$pid" 2>/dev/null; then
            status=0
            wait "$pid" || status=$?
            pid=""
            return 0
        fi
        sleep 0.1
    done
    fail "still running 10 s after the signal"
}

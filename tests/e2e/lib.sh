# Shared helpers of the end-to-end tests: a private X server, windows found
# by polling, screenshots, and cleanup of exactly what a test started.
# Sourced by the test scripts; every wait has a timeout.

set -euo pipefail

E2E_PIDS=()
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/ondulix-e2e.XXXXXX")

e2e_cleanup() {
    # Nothing here may stop the cleanup half-way (set -e is still on).
    ${E2E_ON_EXIT:-true} || true
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${E2E_PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    if [[ -n "${E2E_KEEP:-}" ]]; then
        echo "screenshots and diffs kept in $E2E_TMP" >&2
    else
        rm -rf "$E2E_TMP"
    fi
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [[ -s "$E2E_TMP/demo.log" ]]; then
        echo "--- what the demo wrote to stderr:" >&2
        cat "$E2E_TMP/demo.log" >&2
    fi
    # A demo still running when the test gives up: what it sees, and (where
    # gdb is installed) where it is stuck.
    if [[ -n "${E2E_DEMO_PID:-}" ]] && kill -0 "$E2E_DEMO_PID" 2>/dev/null; then
        echo "--- the demo's display: $(tr '\0' '\n' </proc/"$E2E_DEMO_PID"/environ 2>/dev/null |
            grep '^DISPLAY='), the test's: DISPLAY=${DISPLAY:-}; windows there:" >&2
        xwininfo -root -tree 2>&1 | grep -E '^ +0x' | head -8 >&2 || true
        if command -v gdb >/dev/null; then
            echo "--- where the demo is (pid $E2E_DEMO_PID):" >&2
            gdb -p "$E2E_DEMO_PID" -batch -ex "thread apply all bt 30" 2>/dev/null |
                grep -E "^(Thread|#)" >&2 || true
        fi
    fi
    E2E_KEEP=1 # keep the screenshots and diff images for a look
    exit 1
}

now_ms() { date +%s%3N; }

# Starts a private Xvfb (SIZE, 1024x768 unless given; 24-bit) on a free
# display and exports DISPLAY once it accepts connections.
start_xvfb() {
    local size=${1:-1024x768} fifo="$E2E_TMP/displayfd" display=""
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    read -r -t 10 display <"$fifo" || fail "Xvfb did not start"
    export DISPLAY=":$display"
    local i
    for i in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    fail "Xvfb on $DISPLAY does not answer"
}

# The id of the first window titled exactly TITLE, waiting up to SECONDS.
# xwininfo reads UTF-8 titles that xdotool's search cannot.
wait_for_window() {
    local title=$1 seconds=${2:-20} id="" i
    for i in $(seq $((seconds * 10))); do
        id=$(xwininfo -root -tree 2>/dev/null |
            awk -v t="\"$title\":" '$1 ~ /^0x/ && index($0, " " t " ") {print $1; exit}')
        if [[ -n "$id" ]]; then
            echo "$id"
            return 0
        fi
        # No use waiting for a window of a demo that has already ended.
        if [[ -n "${E2E_DEMO_PID:-}" ]] && ! kill -0 "$E2E_DEMO_PID" 2>/dev/null; then
            fail "the demo ended before a window \"$title\" appeared"
        fi
        sleep 0.1
    done
    fail "no window \"$title\" within ${seconds}s"
}

window_exists() {
    xwininfo -id "$1" >/dev/null 2>&1
}

wait_window_gone() {
    local id=$1 seconds=${2:-10} i
    for i in $(seq $((seconds * 10))); do
        window_exists "$id" || return 0
        sleep 0.1
    done
    fail "window $id still exists after ${seconds}s"
}

# "X Y" of a window's top-left corner on the root.
window_origin() {
    local geometry
    geometry=$(window_geometry "$1")
    geometry=${geometry#*+}
    echo "${geometry%+*} ${geometry#*+}"
}

# "WIDTHxHEIGHT+X+Y" of a window on the root (its inside, without a frame).
window_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ +Width:/ {w=$NF} /^ +Height:/ {h=$NF} END {print w "x" h "+" x "+" y}'
}

# Waits up to 10 s for a window to have GEOMETRY (as window_geometry says).
expect_geometry() {
    local id=$1 want=$2 got="" i
    for i in $(seq 50); do
        got=$(window_geometry "$id")
        [[ "$got" == "$want" ]] && return 0
        sleep 0.2
    done
    fail "window $id is $got, expected $want"
}

# Starts COMMAND in DIR in the background as the demo this script watches
# (E2E_DEMO_PID, ended on exit), its stderr in $E2E_TMP/demo.log. Not for
# use in $(...): the demo must be a child of this shell.
start_demo() {
    local dir=$1
    shift
    (cd "$dir" && exec "$@") 2>"$E2E_TMP/demo.log" &
    E2E_DEMO_PID=$!
    E2E_PIDS+=("$E2E_DEMO_PID")
}

# Waits for the demo (a child of this shell) to end within SECONDS and
# sets E2E_STATUS to its exit status. Not for use in $(...): a subshell
# cannot wait for its parent's children.
wait_exit() {
    local pid=$1 seconds=${2:-15} i
    for i in $(seq $((seconds * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            E2E_STATUS=0
            wait "$pid" || E2E_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    fail "process $pid still running after ${seconds}s"
}

# Waits up to 10 s for a window to show something other than black: the
# demo has drawn its frames there.
wait_for_picture() {
    local id=$1 i
    for i in $(seq 50); do
        [[ $(import -window "$id" png:- 2>/dev/null | convert - -format '%[fx:maxima]' info:) != 0 ]] &&
            return 0
        sleep 0.2
    done
    fail "window $id stays black"
}

# The demo PID ends with exit status 1 within EXIT_SECONDS, and its window
# WINDOW is gone within GONE_SECONDS after that.
expect_ends_with_1() {
    local pid=$1 window=$2 exit_seconds=$3 gone_seconds=$4
    wait_exit "$pid" "$exit_seconds"
    [[ "$E2E_STATUS" == 1 ]] || fail "exit status $E2E_STATUS, expected 1"
    wait_window_gone "$window" "$gone_seconds"
    echo "ended with exit status 1, window gone"
}

# Sends keys (xdotool names, e.g. space, alt+F4, Return) to a window.
send_keys() {
    local id=$1
    shift
    xdotool windowfocus "$id" 2>/dev/null || true
    # A key that closes the window makes the key's release fail to find it;
    # the caller checks what the keys did.
    xdotool key --window "$id" "$@" 2>/dev/null || true
}

screenshot() {
    import -window root "$1"
}

# Takes screenshots until COUNT of them show frames of the demo exactly
# (a screenshot taken while a frame is being drawn may show none) and
# checks that the frames they show advance. ORIGIN is "X Y" of the 640x480
# display area; STARTED the time in ms the demo was started, which bounds
# how many frames it can have drawn (one per 16 ms at most).
expect_frames() {
    local renderer=$1 assets=$2 origin=$3 count=$4 started=$5
    local matched=0 last=0 attempt out frame limit
    for attempt in $(seq $((count * 3))); do
        local shot="$E2E_TMP/shot-$attempt.png"
        screenshot "$shot"
        limit=$((($(now_ms) - started) / 16 + 2))
        # shellcheck disable=SC2086
        if out=$("$renderer" match "$assets" "$limit" $origin "$shot"); then
            frame=${out##* }
            echo "screenshot $attempt shows frame $frame"
            ((frame > last)) || fail "frame $frame does not follow frame $last"
            last=$frame
            matched=$((matched + 1))
            ((matched == count)) && return 0
        else
            echo "screenshot $attempt: $out" >&2
        fi
        sleep 0.4
    done
    fail "only $matched of $count screenshots showed a frame of the demo"
}

# Waits (up to 5 s) for a window's picture to equal a committed reference
# image, pixel for pixel.
expect_window_image() {
    local id=$1 reference=$2
    local got="$E2E_TMP/window.png" diff="$E2E_TMP/window-diff.png" differing="" i
    for i in $(seq 25); do
        import -window "$id" "$got"
        differing=$(compare -metric AE "$got" "$reference" "$diff" 2>&1 >/dev/null || true)
        [[ "$differing" == "0" ]] && return 0
        sleep 0.2
    done
    fail "window differs from $reference in $differing pixels (see $got and $diff)"
}

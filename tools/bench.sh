#!/usr/bin/env bash
# Builds and runs the benchmarks on the portable platform, with the x86_64
# Windows build on Wine's DirectDraw, and the browser build in headless
# Chromium, one after the other in one run, and prints the tables with the
# ratios (bench/bench_table.py).
#
# Usage: tools/bench.sh [web|wine]
#   web: only the browser build and the native figures it is set beside
#        (frame body, windowed start-up and pacing), without Wine
#   wine: only the running Windows build under Wine (start-up, pacing, CPU
#        and wake-ups of the .exe and wineserver, key to exit), beside
#        BENCH_BEFORE_WINDOWS when that is set
# Environment (all optional):
#   BENCH_NATIVE_DIR   native build folder     (default build/native)
#   BENCH_MINGW_DIR    x86_64 Windows build    (default build/mingw-x64)
#   ONDULIX_WINE_DIR   Wine prefix and locale  (default build/wine-bench)
#   BENCH_RESULTS      where the raw results go (default build/bench-results)
#   BENCH_THIRD_PARTY  where Google Benchmark's source is unpacked for the
#                      Windows build (default build/third_party)
#   BENCH_REPETITIONS  repetitions of each micro-benchmark (default 10)
#   BENCH_STARTUPS     start-ups timed per platform (default 5)
#   BENCH_BEFORE       an older build of the demo (the ondulix binary) to
#                      measure beside this one: CPU use, wake-ups, pacing, key
#                      to exit and start-up under a window manager
#   BENCH_BEFORE_HEADLESS  how that build runs without a display (default
#                      ONDULIX_BACKEND=headless; SDL_VIDEODRIVER=dummy for a
#                      build older than the headless back end)
#   BENCH_WEB_BEFORE   an older browser build (a folder as build/web, with its
#                      bench/web_frame_body.*) to measure beside this one
#   BENCH_BEFORE_WINDOWS  an older Windows build's flip probe
#                      (ondulix_flip_probe.exe) to measure beside this one
#                      under Wine: CPU use, wake-ups, pacing and key to exit
# Beside each run of the demo's pacing, a bare 1 ms sleeper (bench/sleeper.c)
# times how late the platform's shortest wait ends at that moment: the
# pacing is judged against it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
only_web=false only_wine=false
case "${1:-}" in
  "") ;;
  web) only_web=true ;;
  wine) only_wine=true ;;
  *) echo "usage: $0 [web|wine]" >&2; exit 2 ;;
esac
"$root/tools/deps.sh" bench

native_dir=${BENCH_NATIVE_DIR:-$root/build/native}
mingw_dir=${BENCH_MINGW_DIR:-$root/build/mingw-x64}
results=${BENCH_RESULTS:-$root/build/bench-results}
reps=${BENCH_REPETITIONS:-10}
startups=${BENCH_STARTUPS:-5}
export ONDULIX_WINE_DIR=${ONDULIX_WINE_DIR:-$root/build/wine-bench}
[[ -n "${BENCH_WEB_BEFORE:-}" ]] && BENCH_WEB_BEFORE=$(cd "$BENCH_WEB_BEFORE" && pwd)

echo "== building" >&2
cmake --preset native -B "$native_dir" >/dev/null
cmake --build "$native_dir" --target ondulix ondulix_bench demo_probe key_exit_probe sleeper \
    >/dev/null
if $only_wine; then
    cmake --preset mingw-x64 -B "$mingw_dir" >/dev/null
    cmake --build "$mingw_dir" --target ondulix_flip_probe ondulix_sleeper >/dev/null
fi
# The browser build in its own folder (build/web by default), with its page.
if ! $only_wine; then
    web_dir=$(cmake --preset web | sed -n 's/^-- Build files have been written to: //p')
    cmake --build "$web_dir" --target ondulix web_frame_body >/dev/null
fi
if ! $only_web && ! $only_wine; then
    benchmark_src=$("$root/tools/fetch_benchmark_source.sh" ${BENCH_THIRD_PARTY:+"$BENCH_THIRD_PARTY"})
    cmake --preset mingw-x64 -B "$mingw_dir" -DONDULIX_BENCHMARK_SOURCE="$benchmark_src" >/dev/null
    cmake --build "$mingw_dir" --target ondulix_bench ondulix_flip_probe ondulix_sleeper >/dev/null
fi

# A private X server, the Wine prefix with its virtual desktop, and cleanup
# of exactly what this run started.
source "$root/tests/e2e/lib.sh"
source "$root/tests/e2e/wine_env.sh"
E2E_ON_EXIT=wine_stop
start_xvfb

rm -rf "$results"
mkdir -p "$results"
run="$E2E_TMP/run"
mkdir -p "$run"
cp "$root/assets/earth.bmp" "$run/" # the demo and the benchmarks read it from their folder
cd "$run"
micro=(--benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true
       --benchmark_format=json)

{
    echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores, $(free -g | awk '/Mem:/ {print $2}') GiB; $(uname -sr)"
    echo "Run: $(date -u '+%Y-%m-%d %H:%M UTC'); load before: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$results/machine.txt"

# The browser build, and the older one beside it when BENCH_WEB_BEFORE names it.
web_bench() {
    if [[ -n "${BENCH_WEB_BEFORE:-}" ]]; then
        node "$root/bench/web_bench.mjs" "$BENCH_WEB_BEFORE" "$results/web-before.json" >/dev/null
    fi
    node "$root/bench/web_bench.mjs" "$web_dir" "$results/web.json" >/dev/null
}

# The running demo's flip times go to this log (platform/portable/ddraw/ddraw_flip_log.h);
# only the demo's runs write it, so that no benchmark pays for it.
probe=(env ONDULIX_FLIP_LOG=flips.log "$native_dir/bench/demo_probe")
sleeper=("$native_dir/bench/sleeper")

# The portable platform: all but "wine".
if ! $only_wine; then
echo "== portable platform: frame body" >&2
ONDULIX_BACKEND=headless "$native_dir/bench/ondulix_bench" "${micro[@]}" \
    --benchmark_filter='^(FrameBody|Clear|WaveRows|Flip|PresentConvert)' \
    --benchmark_out="$results/native.json" >/dev/null

if $only_web; then
    echo "== portable platform: start-up and pacing in a window" >&2
    export SDL_VIDEODRIVER=x11 ONDULIX_SCALE=1 ONDULIX_WINDOWED=1
    "${probe[@]}" --frames 1 -- "$native_dir/ondulix" >/dev/null # disk caches warm
    for _ in $(seq "$startups"); do
        "${probe[@]}" --frames 1 -- "$native_dir/ondulix" >>"$results/demo-native-window-startup.jsonl"
    done
    "${probe[@]}" --frames 625 -- "$native_dir/ondulix" >"$results/run-after-window.jsonl"
    "${sleeper[@]}" >"$results/sleeper-after-window.jsonl"
    unset SDL_VIDEODRIVER ONDULIX_SCALE ONDULIX_WINDOWED
    echo "== browser: frame body, first frame, pacing, download" >&2
    web_bench
    echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$results/machine.txt"
    python3 "$root/bench/bench_table.py" "$results" | tee "$results/table.md"
    echo "(raw results in $results)" >&2
    exit 0
fi
echo "== portable platform: presentation" >&2
export ONDULIX_BACKEND=sdl
SDL_VIDEODRIVER=offscreen ONDULIX_WINDOWED=1 "$native_dir/bench/ondulix_bench" "${micro[@]}" \
    --benchmark_filter='^PresentFlip' --benchmark_out="$results/native-present-offscreen.json" \
    >/dev/null
SDL_VIDEODRIVER=x11 ONDULIX_WINDOWED=1 "$native_dir/bench/ondulix_bench" "${micro[@]}" \
    --benchmark_filter='^PresentFlip' --benchmark_out="$results/native-present-xvfb-window.json" \
    >/dev/null
SDL_VIDEODRIVER=x11 "$native_dir/bench/ondulix_bench" "${micro[@]}" \
    --benchmark_filter='^PresentFlip' \
    --benchmark_out="$results/native-present-xvfb-fullscreen.json" >/dev/null
unset ONDULIX_BACKEND

echo "== portable platform: the running demo" >&2
export SDL_VIDEODRIVER=x11 ONDULIX_SCALE=1
"${probe[@]}" --frames 1 -- "$native_dir/ondulix" >/dev/null # disk caches warm
for _ in $(seq "$startups"); do
    "${probe[@]}" --frames 1 -- "$native_dir/ondulix" >>"$results/demo-native-startup.jsonl"
    ONDULIX_WINDOWED=1 "${probe[@]}" --frames 1 -- "$native_dir/ondulix" \
        >>"$results/demo-native-window-startup.jsonl"
    ONDULIX_BACKEND=headless "${probe[@]}" --frames 1 -- "$native_dir/ondulix" \
        >>"$results/demo-native-headless-startup.jsonl"
done
"${probe[@]}" --frames 600 -- "$native_dir/ondulix" >"$results/demo-native-pacing.jsonl"

# This build, and the one before it when BENCH_BEFORE names it: CPU use and
# wake-ups over 625 frames (10 s) and pacing, in a 640x480 window on Xvfb and
# without a display, each with the bare sleeper right after it; a key to the
# end of the process; full-screen start-up under a light window manager, as
# a desktop user has it. Each is given its way to run headless.
measure_running() {
    local tag=$1 demo=$2 headless=$3 i
    ONDULIX_WINDOWED=1 "${probe[@]}" --frames 625 -- "$demo" >"$results/run-$tag-window.jsonl"
    "${sleeper[@]}" >"$results/sleeper-$tag-window.jsonl"
    env $headless "${probe[@]}" --frames 625 -- "$demo" >"$results/run-$tag-headless.jsonl"
    "${sleeper[@]}" >"$results/sleeper-$tag-headless.jsonl"
    for i in $(seq "$startups"); do
        ONDULIX_WINDOWED=1 ONDULIX_FLIP_LOG=flips.log "$native_dir/bench/key_exit_probe" \
            --frames 30 -- "$demo" >>"$results/key-$tag.jsonl"
    done
}
measure_under_wm() {
    local tag=$1 demo=$2 i
    for i in $(seq "$startups"); do
        "${probe[@]}" --frames 1 -- "$demo" >>"$results/demo-$tag-wm-startup.jsonl"
    done
}
measure_running after "$native_dir/ondulix" ONDULIX_BACKEND=headless
if [[ -n "${BENCH_BEFORE:-}" ]]; then
    measure_running before "$BENCH_BEFORE" "${BENCH_BEFORE_HEADLESS:-ONDULIX_BACKEND=headless}"
fi
openbox --sm-disable >/dev/null 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do # until it manages the screen
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
echo "window manager: $(xprop -root _NET_SUPPORTING_WM_CHECK 2>&1 | tail -c 40)" >&2
measure_under_wm after "$native_dir/ondulix"
[[ -n "${BENCH_BEFORE:-}" ]] && measure_under_wm before "$BENCH_BEFORE"
kill "${E2E_PIDS[-1]}" 2>/dev/null || true
unset SDL_VIDEODRIVER ONDULIX_SCALE
fi # not only Wine

wine_env_prepare
export LANG=ja_JP.UTF-8
wineserver -p # stays up for the whole run, so every start finds it running
if ! $only_wine; then
    echo "== Wine: frame body" >&2
    wine "$mingw_dir/bench/ondulix_bench.exe" "${micro[@]}" \
        --benchmark_filter='^(FrameBody|Clear|WaveRows|Flip)' --benchmark_out=wine.json >/dev/null
    cp wine.json "$results/wine.json"
fi

echo "== Wine: the running demo" >&2
# Wine's performance counter runs on CLOCK_MONOTONIC_RAW.
wine_probe=("${probe[@]}" --clock raw --timeout 120)
"${wine_probe[@]}" --frames 1 -- wine "$mingw_dir/bench/ondulix_flip_probe.exe" >/dev/null
for _ in $(seq "$startups"); do
    "${wine_probe[@]}" --frames 1 -- wine "$mingw_dir/bench/ondulix_flip_probe.exe" \
        >>"$results/demo-wine-startup.jsonl"
done
# Over the same 600 frames (9.6 s): the CPU time and wake-ups of the .exe
# and, apart, of wineserver, which every message call and wait of the .exe
# goes through; then the bare sleeper, as a Windows program under Wine.
server=$(wineserver_pid)
wine_sleeper=(wine "$mingw_dir/bench/ondulix_sleeper.exe")
"${wine_probe[@]}" --server "$server" --frames 600 \
    -- wine "$mingw_dir/bench/ondulix_flip_probe.exe" >"$results/demo-wine-pacing.jsonl"
"${wine_sleeper[@]}" | tr -d '\r' >"$results/sleeper-wine-after.jsonl"
# From a key to the end of the .exe, and all of it for the build before.
measure_wine_key() {
    local tag=$1 exe=$2 i
    for i in $(seq "$startups"); do
        ONDULIX_FLIP_LOG=flips.log "$native_dir/bench/key_exit_probe" --frames 30 \
            --timeout 120 --clock raw -- wine "$exe" >>"$results/wine-key-$tag.jsonl"
    done
}
measure_wine_key after "$mingw_dir/bench/ondulix_flip_probe.exe"
if [[ -n "${BENCH_BEFORE_WINDOWS:-}" ]]; then
    "${wine_probe[@]}" --server "$server" --frames 600 -- wine "$BENCH_BEFORE_WINDOWS" \
        >"$results/demo-wine-before-pacing.jsonl"
    "${wine_sleeper[@]}" | tr -d '\r' >"$results/sleeper-wine-before.jsonl"
    measure_wine_key before "$BENCH_BEFORE_WINDOWS"
fi

if ! $only_wine; then
    echo "== browser: frame body, first frame, pacing, download" >&2
    web_bench
fi

echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$results/machine.txt"
python3 "$root/bench/bench_table.py" "$results" | tee "$results/table.md"
echo "(raw results in $results)" >&2

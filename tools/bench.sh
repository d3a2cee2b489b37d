#!/usr/bin/env bash
# Builds and runs the benchmarks on the portable platform and, with the
# x86_64 Windows build, on Wine's DirectDraw, one after the other in one run,
# and prints the table with the ratios (bench/bench_table.py).
#
# Usage: tools/bench.sh
# Environment (all optional):
#   BENCH_NATIVE_DIR   native build folder     (default build/native)
#   BENCH_MINGW_DIR    x86_64 Windows build    (default build/mingw-x64)
#   ONDULIX_WINE_DIR   Wine prefix and locale  (default build/wine-bench)
#   BENCH_RESULTS      where the raw results go (default build/bench-results)
#   BENCH_THIRD_PARTY  where Google Benchmark's source is unpacked for the
#                      Windows build (default build/third_party)
#   BENCH_REPETITIONS  repetitions of each micro-benchmark (default 10)
#   BENCH_STARTUPS     start-ups timed per platform (default 5)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/deps.sh" test
command -v python3 >/dev/null || { echo "needs python3 (apt-get install python3)" >&2; exit 1; }

native_dir=${BENCH_NATIVE_DIR:-$root/build/native}
mingw_dir=${BENCH_MINGW_DIR:-$root/build/mingw-x64}
results=${BENCH_RESULTS:-$root/build/bench-results}
reps=${BENCH_REPETITIONS:-10}
startups=${BENCH_STARTUPS:-5}
export ONDULIX_WINE_DIR=${ONDULIX_WINE_DIR:-$root/build/wine-bench}

echo "== building" >&2
cmake --preset native -B "$native_dir" >/dev/null
cmake --build "$native_dir" --target ondulix ondulix_bench demo_probe >/dev/null
benchmark_src=$("$root/tools/fetch_benchmark_source.sh" ${BENCH_THIRD_PARTY:+"$BENCH_THIRD_PARTY"})
cmake --preset mingw-x64 -B "$mingw_dir" -DONDULIX_BENCHMARK_SOURCE="$benchmark_src" >/dev/null
cmake --build "$mingw_dir" --target ondulix_bench ondulix_flip_probe >/dev/null

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

# The running demo's flip times go to this log (platform/portable/ddraw_flip_log.h);
# only the demo's runs write it, so that no benchmark pays for it.
probe=(env ONDULIX_FLIP_LOG=flips.log "$native_dir/bench/demo_probe")

echo "== portable platform: frame body" >&2
SDL_VIDEODRIVER=offscreen "$native_dir/bench/ondulix_bench" "${micro[@]}" \
    --benchmark_filter='^(FrameBody|Clear|WaveRows|Flip|PresentConvert)' \
    --benchmark_out="$results/native.json" >/dev/null
echo "== portable platform: presentation" >&2
SDL_VIDEODRIVER=offscreen ONDULIX_WINDOWED=1 "$native_dir/bench/ondulix_bench" "${micro[@]}" \
    --benchmark_filter='^PresentFlip' --benchmark_out="$results/native-present-offscreen.json" \
    >/dev/null
SDL_VIDEODRIVER=x11 ONDULIX_WINDOWED=1 "$native_dir/bench/ondulix_bench" "${micro[@]}" \
    --benchmark_filter='^PresentFlip' --benchmark_out="$results/native-present-xvfb-window.json" \
    >/dev/null
SDL_VIDEODRIVER=x11 "$native_dir/bench/ondulix_bench" "${micro[@]}" \
    --benchmark_filter='^PresentFlip' \
    --benchmark_out="$results/native-present-xvfb-fullscreen.json" >/dev/null

echo "== portable platform: the running demo" >&2
export SDL_VIDEODRIVER=x11
"${probe[@]}" --frames 1 -- "$native_dir/ondulix" >/dev/null # disk caches warm
for _ in $(seq "$startups"); do
    "${probe[@]}" --frames 1 -- "$native_dir/ondulix" >>"$results/demo-native-startup.jsonl"
    ONDULIX_WINDOWED=1 "${probe[@]}" --frames 1 -- "$native_dir/ondulix" \
        >>"$results/demo-native-window-startup.jsonl"
    SDL_VIDEODRIVER=dummy "${probe[@]}" --frames 1 -- "$native_dir/ondulix" \
        >>"$results/demo-native-dummy-startup.jsonl"
done
"${probe[@]}" --frames 600 -- "$native_dir/ondulix" >"$results/demo-native-pacing.jsonl"
unset SDL_VIDEODRIVER

echo "== Wine: frame body" >&2
wine_env_prepare
export LANG=ja_JP.UTF-8
wineserver -p # stays up for the whole run, so every start finds it running
wine "$mingw_dir/bench/ondulix_bench.exe" "${micro[@]}" \
    --benchmark_filter='^(FrameBody|Clear|WaveRows|Flip)' --benchmark_out=wine.json >/dev/null
cp wine.json "$results/wine.json"

echo "== Wine: the running demo" >&2
# Wine's performance counter runs on CLOCK_MONOTONIC_RAW.
wine_probe=("${probe[@]}" --clock raw --timeout 120)
"${wine_probe[@]}" --frames 1 -- wine "$mingw_dir/bench/ondulix_flip_probe.exe" >/dev/null
for _ in $(seq "$startups"); do
    "${wine_probe[@]}" --frames 1 -- wine "$mingw_dir/bench/ondulix_flip_probe.exe" \
        >>"$results/demo-wine-startup.jsonl"
done
"${wine_probe[@]}" --frames 600 -- wine "$mingw_dir/bench/ondulix_flip_probe.exe" \
    >"$results/demo-wine-pacing.jsonl"

echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$results/machine.txt"
python3 "$root/bench/bench_table.py" "$results" | tee "$results/table.md"
echo "(raw results in $results)" >&2

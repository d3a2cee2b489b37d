#!/usr/bin/env bash
# Builds the libFuzzer targets (the "fuzz" preset) and runs each for
# SECONDS (default 600), one job each, from the committed seeds. New
# coverage goes to a scratch directory, never into fuzz/corpus; findings go
# to fuzz-findings/ in the build directory.
# Usage: fuzz/run_fuzzers.sh [SECONDS [BUILD_DIR]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
build=${2:-$root/build/fuzz}
cmake --preset fuzz -B "$build" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target load_image_fuzzer bmp_palette_fuzzer
for target in load_image bmp_palette; do
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/fuzz-$target.XXXXXX")
    mkdir -p "$build/fuzz-findings/$target"
    "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -rss_limit_mb=256 -timeout=2 \
        -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$target/" \
        "$scratch" "$root/fuzz/corpus/$target"
    rm -rf "$scratch"
done

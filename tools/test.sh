#!/usr/bin/env bash
# Sets up, builds and runs every test: the native and sanitizer builds, and
# the two Windows cross-builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/deps.sh" test
for preset in native asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
for preset in mingw-x64 mingw-i686; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

#!/usr/bin/env bash
# Builds tools/wave_rows three ways -- natively (g++, glibc's libm), for the
# web (Emscripten, musl's libm, run by node) and for 64-bit Windows
# (MinGW-w64, run by Wine) -- and compares the landing rows of frames
# FIRST..LAST (default 1..100000) of the web and Windows builds with the
# native one, row by row.
#
# Usage: tools/compare_wave_rows.sh [FIRST LAST]
# Exit code: 0 all three agree, 1 some landing or amplitude differs, 2 a
# build or a run failed.
#
# Environment: WINEPREFIX (default /tmp/ondulix-wave-rows-wine, made on
# first use in a few seconds; a console program needs no desktop and no X
# server); NODE_PATH (default /usr/share/nodejs, where Debian's emcc finds
# its node modules when the node on the PATH is not Debian's own).
set -euo pipefail
cd "$(dirname "$0")/.."

first=${1:-1}
last=${2:-100000}
out=build/wave_rows
mkdir -p "$out"

sources=(tools/wave_rows.cpp effect/wave.cpp display/blit.cpp)
flags=(-std=c++17 -O2 -Wall -Wextra -Werror -I.)

g++ "${flags[@]}" "${sources[@]}" -o "$out/wave_rows"
# Emscripten 3.1.6 fetches the .wasm with fetch() whenever one exists, and
# node 18 and later have one that cannot read a plain path; compiling the
# module synchronously reads the file instead.
NODE_PATH=${NODE_PATH:-/usr/share/nodejs} emcc "${flags[@]}" "${sources[@]}" \
  -sENVIRONMENT=node -sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1 -o "$out/wave_rows.js"
# Statically linked, as the demo's .exe is: no MinGW DLLs needed beside it.
x86_64-w64-mingw32-g++ "${flags[@]}" "${sources[@]}" -static -o "$out/wave_rows.exe"

export WINEPREFIX=${WINEPREFIX:-/tmp/ondulix-wave-rows-wine} WINEDEBUG=${WINEDEBUG:--all}

# run BUILD ARGUMENTS...
run() {
  local build=$1
  shift
  case $build in
    native) "$out/wave_rows" "$@" ;;
    web) node "$out/wave_rows.js" "$@" ;;
    windows) wine "$out/wave_rows.exe" "$@" ;;
  esac
}

status=0
for build in native web windows; do
  digest=$(run "$build" digest "$first" "$last" | tr -d '\r') || true
  echo "$build: $digest"
  # Wine can fail to start a program and still exit with 0: only a printed
  # digest counts as a run.
  [[ "$digest" == "frames $first-$last "* ]] || status=2
done

# The listing goes through a file: the web build's standard input under node
# takes a pipe that is empty for a moment as a read error.
listing=$out/native_rows.txt
run native rows "$first" "$last" >"$listing"
for build in web windows; do
  rc=0
  summary=$(run "$build" compare "$first" "$last" <"$listing") || rc=$?
  echo "$build compared with native:"
  echo "$summary" | tr -d '\r' | sed 's/^/  /'
  if ! grep -q "^frames $first-$last: " <<<"$summary" || [[ $rc -gt 1 ]]; then
    status=2
  elif [[ $rc -eq 1 && $status -eq 0 ]]; then
    status=1
  fi
done
exit $status

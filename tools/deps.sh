#!/usr/bin/env bash
# Installs the Debian packages a task needs, when they are missing, and for
# the browser tests and benchmarks the npm packages of tests/web (npm ci,
# from its package-lock.json; no browser is downloaded: Debian's is used).
# Usage: tools/deps.sh build|demo|package|test|bench|web
# As root it runs apt-get itself (sudo where present); otherwise it prints
# the exact apt-get line and stops.
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config libsdl2-dev libx11-dev libpng-dev googletest
            libgtest-dev git libbenchmark-dev)
# The Windows cross-builds and Wine, and llvm-rc to read the .exe's .rc as
# MSVC's rc would; a real X server with the tools that drive it and read it;
# the fonts and the Japanese locale the message box needs; the fuzzing and
# memory checkers.
test_pkgs=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 llvm-14 xvfb x11-utils xdotool
           imagemagick libx11-dev xfonts-base fonts-ipafont-gothic fonts-wine locales clang
           clang-format libclang-rt-14-dev valgrind)
# The packages' makers: the two Windows cross-compilers, and what CPack's
# .deb needs to find the real dependencies (dpkg-shlibdeps, file). Their
# checks: a clean Debian root to install into, lintian, and a reader of the
# .exe's resources (pefile, for Debian's own python3).
package_pkgs=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 dpkg-dev file)
package_test_pkgs=(debootstrap lintian python3-pefile)
# The benchmarks' extras: XTest to press a key, a light window manager.
bench_pkgs=(libxtst-dev openbox python3)
# The browser build (Emscripten's own libraries come built with it), the
# browser its tests and benchmarks run in, and the local server of
# tools/web.sh. Node.js and npm are the machine's.
web_pkgs=(cmake ninja-build emscripten chromium python3)

npm_dir=$(cd "$(dirname "$0")/.." && pwd)/tests/web
npm_wanted=false
case "${1:-}" in
  build|demo) wanted=("${build_pkgs[@]}") ;;
  package) wanted=("${build_pkgs[@]}" "${package_pkgs[@]}" "${web_pkgs[@]}") ;;
  test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}" "${package_pkgs[@]}" "${package_test_pkgs[@]}"
                "${web_pkgs[@]}")
        npm_wanted=true ;;
  bench) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}" "${bench_pkgs[@]}" "${web_pkgs[@]}")
         npm_wanted=true ;;
  web) wanted=("${web_pkgs[@]}") ;;
  *) echo "usage: $0 build|demo|package|test|bench|web" >&2; exit 2 ;;
esac

# puppeteer-core as locked, unless node_modules already holds what
# package.json asks for.
npm_packages() {
  $npm_wanted || return 0
  command -v npm >/dev/null || { echo "npm is missing: the browser tests need Node.js and npm" >&2
                                 exit 1; }
  if ! [[ -d "$npm_dir/node_modules/puppeteer-core" ]] ||
     ! (cd "$npm_dir" && npm ls >/dev/null 2>&1); then
    echo "Installing the npm packages of tests/web (npm ci)" >&2
    (cd "$npm_dir" && npm ci --no-audit --no-fund >/dev/null)
  fi
}

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
if [[ ${#missing[@]} -eq 0 ]]; then
  npm_packages
  exit 0
fi

line="apt-get install -y ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Missing packages. Run as root:" >&2
  echo "  apt-get update && $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
npm_packages

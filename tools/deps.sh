#!/usr/bin/env bash
# Installs the Debian packages a task needs, when they are missing.
# Usage: tools/deps.sh build|demo|package|test|bench
# As root it runs apt-get itself (sudo where present); otherwise it prints
# the exact apt-get line and stops.
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config libsdl2-dev libx11-dev libpng-dev googletest
            libgtest-dev git libbenchmark-dev)
# The Windows cross-builds and Wine; a real X server with the tools that drive
# it and read it; the fonts and the Japanese locale the message box needs;
# the fuzzing and memory checkers.
test_pkgs=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 xvfb x11-utils xdotool imagemagick
           libx11-dev xfonts-base fonts-ipafont-gothic fonts-wine locales clang clang-format
           libclang-rt-14-dev valgrind)
# The packages' makers: the two Windows cross-compilers, and what CPack's
# .deb needs to find the real dependencies (dpkg-shlibdeps, file). Their
# checks: a clean Debian root to install into, and lintian.
package_pkgs=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 dpkg-dev file)
package_test_pkgs=(debootstrap lintian)
# The benchmarks' extras: XTest to press a key, a light window manager.
bench_pkgs=(libxtst-dev openbox python3)

case "${1:-}" in
  build|demo) wanted=("${build_pkgs[@]}") ;;
  package) wanted=("${build_pkgs[@]}" "${package_pkgs[@]}") ;;
  test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}" "${package_pkgs[@]}" "${package_test_pkgs[@]}") ;;
  bench) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}" "${bench_pkgs[@]}") ;;
  *) echo "usage: $0 build|demo|package|test|bench" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

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

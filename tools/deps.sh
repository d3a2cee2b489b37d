#!/usr/bin/env bash
# Installs the Debian packages a task needs, when they are missing, and for
# the browser tests and benchmarks the npm packages of tests/web (npm ci,
# from its package-lock.json: puppeteer-core, selenium-webdriver, lighthouse;
# no browser is downloaded: Debian's are used).
# Usage: tools/deps.sh build|demo|package|test|bench|web
# As root it runs apt-get itself (sudo where present); otherwise it prints
# the exact apt-get line and stops.
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config libsdl2-dev libx11-dev libpng-dev googletest
            libgtest-dev git libbenchmark-dev)
# The Windows cross-builds and Wine, and llvm-rc to read the .exe's .rc as
# MSVC's rc would; a real X server with the tools that drive it and read it,
# and Xorg's dummy driver for two monitors side by side; the fonts and the
# Japanese locale the message box needs; the fuzzing and memory checkers.
test_pkgs=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 llvm-14 xvfb x11-utils xdotool
           imagemagick xserver-xorg-video-dummy x11-xserver-utils
           libx11-dev xfonts-base fonts-ipafont-gothic fonts-wine locales clang clang-format
           libclang-rt-14-dev valgrind)
# The packages' makers: the two Windows cross-compilers, and what CPack's
# .deb needs to find the real dependencies (dpkg-shlibdeps, file).
package_pkgs=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 dpkg-dev file)
# The arm64 build: Debian's cross toolchain, the arm64 libraries beside the
# machine's own (multiarch), and qemu's user-mode emulator, which runs its
# icon generator while it builds and its tests.
arm64_pkgs=(crossbuild-essential-arm64 libsdl2-dev:arm64 libx11-dev:arm64 libpng-dev:arm64
            libgtest-dev:arm64 qemu-user)
# The page's checks in the other two browsers: Firefox ESR (puppeteer-core
# drives it over WebDriver BiDi) and WebKitGTK's MiniBrowser with its
# WebDriver (on the Xvfb above).
browser_test_pkgs=(firefox-esr webkit2gtk-driver)
# The packages' checks: a clean Debian root to install into, lintian, the
# AppStream validator and an XPath reader for the metainfo, and a reader of
# the .exe's resources (pefile, for Debian's own python3); the licence checks
# (reuse for the sources, python3-debian to parse the .deb's copyright file)
# and hardening-check (devscripts).
package_test_pkgs=(debootstrap lintian appstream libxml2-utils python3-pefile reuse python3-debian
                   devscripts)
# Installed without what they recommend: the tests want only hardening-check
# of devscripts, whose recommended packages are some eighty more, and
# reuse's add nothing to \`reuse lint\`.
lean_pkgs=(devscripts reuse)
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
  package) wanted=("${build_pkgs[@]}" "${package_pkgs[@]}" "${arm64_pkgs[@]}" "${web_pkgs[@]}") ;;
  test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}" "${package_pkgs[@]}" "${arm64_pkgs[@]}"
                "${package_test_pkgs[@]}" "${web_pkgs[@]}" "${browser_test_pkgs[@]}")
        npm_wanted=true ;;
  bench) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}" "${bench_pkgs[@]}" "${web_pkgs[@]}")
         npm_wanted=true ;;
  web) wanted=("${web_pkgs[@]}") ;;
  *) echo "usage: $0 build|demo|package|test|bench|web" >&2; exit 2 ;;
esac

# The npm packages as locked, unless node_modules already holds what
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

# installed NAME[:ARCH]: whether the package is installed for ARCH, or for
# the machine's own architecture (or for all) when no ARCH is named; a
# library can be installed for arm64 and not for the machine.
native=$(dpkg --print-architecture)
installed() {
  local name=${1%%:*} arch="($native|all)"
  [[ "$1" != *:* ]] || arch=${1#*:}
  dpkg-query -W -f='${Status} ${Architecture}\n' "$name" 2>/dev/null |
    grep -Eqx "install ok installed $arch"
}
missing=()
for pkg in "${wanted[@]}"; do
  installed "$pkg" || missing+=("$pkg")
done
if [[ ${#missing[@]} -eq 0 ]]; then
  npm_packages
  exit 0
fi

# Packages of another architecture need it added to dpkg first.
foreign=()
for pkg in "${missing[@]}"; do
  [[ "$pkg" == *:* ]] || continue
  arch=${pkg#*:}
  dpkg --print-foreign-architectures | grep -qx "$arch" || [[ " ${foreign[*]} " == *" $arch "* ]] ||
    foreign+=("$arch")
done
# qemu's user-mode emulator without its recommended binfmt registration: the
# tests name the emulator themselves, and the registration would pull in
# systemd or binfmt-support and change how the whole machine runs foreign
# programs.
install=("${missing[@]}")
[[ " ${missing[*]} " == *" qemu-user "* ]] && install+=(qemu-user-binfmt-)

lean=() full=()
for pkg in "${install[@]}"; do
  if [[ " ${lean_pkgs[*]} " == *" $pkg "* ]]; then lean+=("$pkg"); else full+=("$pkg"); fi
done

apt=(apt-get -o DPkg::Lock::Timeout=900)
line=""
((${#full[@]} == 0)) || line="${apt[*]} install -y ${full[*]}"
((${#lean[@]} == 0)) || line+="${line:+ && }${apt[*]} install -y --no-install-recommends ${lean[*]}"
add_arch=""
for arch in "${foreign[@]}"; do add_arch+="dpkg --add-architecture $arch && "; done
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Missing packages. Run as root:" >&2
  echo "  $add_arch${apt[*]} update && $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
for arch in "${foreign[@]}"; do "${sudo[@]}" dpkg --add-architecture "$arch"; done
"${sudo[@]}" "${apt[@]}" update -qq
((${#full[@]} == 0)) || "${sudo[@]}" "${apt[@]}" install -y -qq "${full[@]}" >/dev/null
((${#lean[@]} == 0)) ||
  "${sudo[@]}" "${apt[@]}" install -y -qq --no-install-recommends "${lean[@]}" >/dev/null
npm_packages

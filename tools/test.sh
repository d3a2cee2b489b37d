#!/usr/bin/env bash
# Sets up, builds and runs every test: the native and sanitizer builds, the
# two Windows cross-builds, the arm64 cross-build and the browser build; then
# the packages a person downloads.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/deps.sh" test

# Every file of the project under a licence (.reuse/dep5, LICENSES/).
reuse lint -q || { reuse lint; exit 1; }
# No package archive named in the project: the mirror is the machine's.
tests/packages/no_archive_host_test.sh
tests/packages/debian_mirror_test.sh

# The Windows builds first: the end-to-end tests of the native build run the
# x86_64 .exe under Wine. Its own tests run under Wine too; the i686 build
# (where the 32-bit structure sizes are asserted) is built, not run.
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64
ctest --preset mingw-x64
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686

# Native: unit and end-to-end tests; under the sanitizers, the unit tests.
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

# arm64, cross-built: its unit tests under qemu-user, and its wave rows
# against the native build's. tools/package.sh packs this same build.
cmake --preset arm64 >/dev/null
cmake --build --preset arm64
ctest --preset arm64

# The browser build: its page in headless Chromium, compared with the native
# frame renderer, and its wave rows under node, with the native build's.
cmake --preset web >/dev/null
cmake --build --preset web
ctest --preset web

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

# The packages: made, checked for their licence, sums and reproducibility,
# inspected, linted, the arm64 .deb's program run
# headless under qemu-user, the Windows zip run under Wine (in the
# end-to-end tests' prefix) and the amd64 .deb installed into a clean Debian
# root, run there headless and purged.
tools/package.sh
/usr/bin/python3 tests/packages/licence_check.py build/packages .
tests/packages/checksums_test.sh build/packages
# The amd64 .deb made again from a copy of the project elsewhere: its build
# id hashes the debug information, where any path of the build would show.
tests/packages/reproducible_test.sh build/packages native
deb=$(echo build/packages/ondulix_*_amd64.deb)
arm64_deb=$(echo build/packages/ondulix_*_arm64.deb)
for package in "$deb" "$arm64_deb"; do
    tests/packages/deb_contents_test.sh "$package" assets
    tests/packages/lintian_test.sh "$package"
    tests/packages/deb_hardening_test.sh "$package"
done
tests/packages/deb_frames_test.sh "$arm64_deb" build/native/tools/frame_renderer qemu-aarch64
tests/packages/windows_zip_test.sh build/packages/ondulix-*-windows-x86_64.zip \
    build/packages/ondulix-*-windows-i686.zip build/native/tools/frame_renderer assets
tests/packages/deb_install_test.sh "$deb"
tests/packages/web_zip_test.sh build/packages/ondulix-*-web.zip build/native/tools/frame_renderer \
    assets tests/data

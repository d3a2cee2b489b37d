#!/usr/bin/env bash
# The Windows zips: each holds one folder with the .exe (for its
# architecture, needing only Windows' own DLLs, carrying its icon, version
# and manifest, hardened), earth.bmp, a CRLF note and the licence. The
# x86_64 one, unpacked into an empty folder, runs under Wine as the
# end-to-end test runs the build:
# frames of the demo, then a key ends it with 1. (The i686 .exe is not run:
# that needs Wine's 32-bit half, wine32 of dpkg's i386 architecture; see
# docs/wine.md.)
# Usage: windows_zip_test.sh X86_64.zip I686.zip FRAME_RENDERER ASSETS_DIR
set -euo pipefail
zip64=$(readlink -f "$1") zip32=$(readlink -f "$2") renderer=$3 assets=$4
here=$(cd "$(dirname "$0")" && pwd)
e2e=$here/../e2e
# The version as project() sets it, which the .exe's resources must carry.
version=$(sed -n 's/^project(Ondulix VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
: "${ONDULIX_WINE_DIR:=$e2e/../../build/wine}"
export ONDULIX_WINE_DIR
source "$e2e/lib.sh"
source "$e2e/wine_env.sh"
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "no project() version in CMakeLists.txt"

# check_zip ZIP ARCH FILE_TYPE: the zip's files, and what they are.
check_zip() {
    local zip=$1 arch=$2 type=$3 name listing dir
    name=$(basename "$zip" .zip)
    [[ "$name" == ondulix-"$version"-windows-"$arch" ]] ||
        fail "$zip is not named for $version, $arch"
    listing=$(cmake -E tar tf "$zip" | LC_ALL=C sort | tr '\n' ' ')
    want="$name/LICENSE.txt $name/README.txt $name/THIRD-PARTY-NOTICES.txt $name/earth.bmp"
    [[ "$listing" == "$want $name/ondulix.exe " ]] ||
        fail "$zip holds: $listing"
    dir="$E2E_TMP/$arch"
    mkdir "$dir"
    (cd "$dir" && cmake -E tar xf "$zip")
    dir="$dir/$name"
    file -b "$dir/ondulix.exe" | grep -q "^$type" || fail "$arch: $(file -b "$dir/ondulix.exe")"
    if x86_64-w64-mingw32-objdump -p "$dir/ondulix.exe" | grep -i "DLL Name" |
        grep -Eiv "(advapi32|ddraw|gdi32|kernel32|msvcrt|user32|winmm)\.dll$"; then
        fail "$arch: the .exe needs DLLs that Windows does not have"
    fi
    cmp -s "$dir/earth.bmp" "$assets/earth.bmp" || fail "$arch: earth.bmp is not assets/earth.bmp"
    grep -q "earth.bmp ファイルが見つかりません" "$dir/README.txt" ||
        fail "$arch: README.txt does not explain the message"
    if grep -qv $'\r$' "$dir/README.txt"; then fail "$arch: README.txt has lines without CRLF"; fi
    /usr/bin/python3 "$here/windows_resources_check.py" "$zip" "$version" || fail "$arch: resources"
    /usr/bin/python3 "$here/windows_pe_check.py" "$zip" || fail "$arch: hardening"
    echo "$name: ondulix.exe ($type), earth.bmp, README.txt"
}
check_zip "$zip32" i686 "PE32 executable (GUI) Intel 80386"
check_zip "$zip64" x86_64 "PE32+ executable (GUI) x86-64"

E2E_ON_EXIT=wine_stop
start_xvfb
wine_env_prepare
wine_start_desktop

run_dir=$E2E_TMP/run
mkdir "$run_dir"
(cd "$run_dir" && cmake -E tar xf "$zip64")
run_dir=$(echo "$run_dir"/ondulix-*)
started=$(now_ms)
(cd "$run_dir" && LANG=ja_JP.UTF-8 exec wine ondulix.exe) 2>"$E2E_TMP/demo.log" &
demo=$!
E2E_DEMO_PID=$demo
E2E_PIDS+=("$demo")
window=$(wait_for_window Ondulix 60)
expect_frames "$renderer" "$assets" "0 0" 3 "$started"
send_keys "$window" space
expect_ends_with_1 "$demo" "$window" 30 10
echo "PASS: the Windows zips; the x86_64 one runs from its folder under Wine"

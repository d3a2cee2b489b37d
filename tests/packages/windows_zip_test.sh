#!/usr/bin/env bash
# The Windows zips: each holds one folder with the .exe (for its
# architecture, needing only Windows' own DLLs), earth.bmp and a CRLF note.
# The x86_64 one, unpacked into an empty folder, runs under Wine as the
# end-to-end test runs the build: frames of the demo, then a key ends it
# with 1. (The i686 .exe cannot run here: this kernel runs no 32-bit code.)
# Usage: windows_zip_test.sh X86_64.zip I686.zip FRAME_RENDERER ASSETS_DIR
set -euo pipefail
zip64=$(readlink -f "$1") zip32=$(readlink -f "$2") renderer=$3 assets=$4
e2e=$(cd "$(dirname "$0")/../e2e" && pwd)
: "${ONDULIX_WINE_DIR:=$e2e/../../build/wine}"
export ONDULIX_WINE_DIR
source "$e2e/lib.sh"
source "$e2e/wine_env.sh"

# check_zip ZIP ARCH FILE_TYPE: the zip's files, and what they are.
check_zip() {
    local zip=$1 arch=$2 type=$3 name listing dir
    name=$(basename "$zip" .zip)
    [[ "$name" == ondulix-*-windows-"$arch" ]] || fail "$zip is not named for $arch"
    listing=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
    [[ "$listing" == "$name/README.txt $name/earth.bmp $name/ondulix.exe " ]] ||
        fail "$zip holds: $listing"
    dir="$E2E_TMP/$arch"
    mkdir "$dir"
    (cd "$dir" && cmake -E tar xf "$zip")
    dir="$dir/$name"
    file -b "$dir/ondulix.exe" | grep -q "^$type" || fail "$arch: $(file -b "$dir/ondulix.exe")"
    if x86_64-w64-mingw32-objdump -p "$dir/ondulix.exe" | grep -i "DLL Name" |
        grep -Eiv "(ddraw|gdi32|kernel32|msvcrt|user32|winmm)\.dll$"; then
        fail "$arch: the .exe needs DLLs that Windows does not have"
    fi
    cmp -s "$dir/earth.bmp" "$assets/earth.bmp" || fail "$arch: earth.bmp is not assets/earth.bmp"
    grep -q "earth.bmp ファイルが見つかりません" "$dir/README.txt" ||
        fail "$arch: README.txt does not explain the message"
    if grep -qv $'\r$' "$dir/README.txt"; then fail "$arch: README.txt has lines without CRLF"; fi
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

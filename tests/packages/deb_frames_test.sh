#!/usr/bin/env bash
# The program of a .deb built for another architecture, run under that
# architecture's emulator with the headless back end and the packaged
# picture, saves frames byte for byte equal to the native frame renderer's,
# and a close signal ends it with 1.
# Usage: deb_frames_test.sh ONDULIX.deb FRAME_RENDERER EMULATOR...
#   e.g. deb_frames_test.sh ondulix_1.0.0_arm64.deb build/native/tools/frame_renderer qemu-aarch64
set -euo pipefail
deb=$1 renderer=$2
shift 2
tmp=$(mktemp -d "${TMPDIR:-/tmp}/ondulix-deb-frames.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

dpkg-deb -x "$deb" "$tmp"
echo "$(dpkg-deb -f "$deb" Architecture): $(file -b "$tmp/usr/libexec/ondulix/ondulix" | cut -d, -f1-2)"
"$(dirname "$0")/../programs/headless_frames_test.sh" "$tmp/usr/libexec/ondulix/ondulix" \
    "$renderer" "$tmp/usr/share/ondulix/earth.bmp" "$@"

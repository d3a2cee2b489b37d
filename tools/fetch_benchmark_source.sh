#!/usr/bin/env bash
# Fetches and unpacks Google Benchmark's source for the Windows cross-builds
# (Debian ships it built for Linux only). Uses Debian's source archive, at the
# mirror the machine's apt uses (tools/debian_mirror.sh), through apt-get with
# a private package list, so the system's apt configuration is left alone.
# Idempotent: does nothing when the source is already unpacked.
# Usage: tools/fetch_benchmark_source.sh [DEST]   (default: build/third_party)
# Prints the unpacked source folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-$root/build/third_party}
version=1.7.1
src="$dest/benchmark-$version"

if [[ -f "$src/CMakeLists.txt" ]]; then
    echo "$src"
    exit 0
fi

apt_dir="$dest/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives"
printf 'deb-src %s bookworm main\n' "$("$root/tools/debian_mirror.sh" bookworm)" >"$apt_dir/src.list"
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/src.list" -o Dir::Etc::SourceParts=/dev/null
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache::Archives=$apt_dir/archives"
          -o APT::Sandbox::User=root)

tarball="$apt_dir/benchmark_$version.orig.tar.gz"
if [[ ! -f "$tarball" ]]; then
    apt-get "${apt_opts[@]}" -qq update >&2
    (cd "$apt_dir" && apt-get "${apt_opts[@]}" -qq source --download-only "benchmark=$version-1" >&2)
fi
[[ -f "$tarball" ]] || { echo "benchmark_$version.orig.tar.gz was not fetched" >&2; exit 1; }

# Unpacked beside, then moved into place, so an interrupted run leaves no
# half-unpacked folder that a later run would take as complete.
tmp=$(mktemp -d "$dest/unpack.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
tar -xzf "$tarball" -C "$tmp"
unpacked=$(find "$tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)
[[ -f "$unpacked/CMakeLists.txt" ]] || { echo "unexpected layout in $tarball" >&2; exit 1; }
mv "$unpacked" "$src"
echo "$src"

#!/usr/bin/env bash
# SHA256SUMS beside the packages lists every package, and nothing else, with
# its right sum, in the format that `sha256sum -c` reads.
# Usage: checksums_test.sh PACKAGES_DIR
set -euo pipefail
cd "$1"
fail() { echo "FAIL: $*" >&2; exit 1; }
[[ -f SHA256SUMS ]] || fail "no SHA256SUMS in $1"
listed=$(sed -E 's/^[0-9a-f]{64}  //' SHA256SUMS | LC_ALL=C sort | tr '\n' ' ')
present=$(find . -maxdepth 1 -type f ! -name SHA256SUMS -printf '%f\n' | LC_ALL=C sort | tr '\n' ' ')
[[ "$listed" == "$present" ]] || fail "SHA256SUMS lists '$listed', the folder holds '$present'"
sha256sum -c --strict SHA256SUMS || fail "a sum in SHA256SUMS is wrong"
echo "PASS: SHA256SUMS holds the right sums of all $(wc -l <SHA256SUMS) packages"

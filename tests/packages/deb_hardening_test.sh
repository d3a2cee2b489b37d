#!/usr/bin/env bash
# The .deb's program is hardened as Debian's own are: hardening-check
# (devscripts) says yes to each of PIE, the stack protector, FORTIFY,
# read-only relocations (RELRO) and immediate binding (BIND_NOW). Its whole
# report is shown.
# Usage: deb_hardening_test.sh ONDULIX.deb
set -euo pipefail
deb=$1
tmp=$(mktemp -d "${TMPDIR:-/tmp}/ondulix-deb-hardening.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp"
report=$(hardening-check "$tmp/usr/libexec/ondulix/ondulix" 2>/dev/null || true)
echo "$(dpkg-deb -f "$deb" Architecture): ${report#*:}"
for check in "Position Independent Executable" "Stack protected" "Fortify Source functions" \
    "Read-only relocations" "Immediate binding"; do
    grep -q "^ $check: yes" <<<"$report" ||
        { echo "FAIL: $(basename "$deb"): $(grep "^ $check:" <<<"$report" || echo "no $check")" >&2
          exit 1; }
done
echo "PASS: $(basename "$deb"): PIE, stack protector, FORTIFY, RELRO and BIND_NOW"

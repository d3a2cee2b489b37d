#!/usr/bin/env bash
# lintian finds no error in the .deb, nor any sign of a program built
# without Debian's hardening or stripped less than Debian strips. Every tag
# it reports, warnings and notes included, is shown, so that a new one is
# seen when it appears.
# Usage: lintian_test.sh ONDULIX.deb
set -euo pipefail
deb=$1
status=0
report=$(lintian --pedantic --display-info --fail-on error "$deb" 2>&1) || status=$?
grep -v "^running with root privileges" <<<"$report" || true
if ((status != 0)); then
    echo "FAIL: lintian reports errors in $deb (exit status $status)" >&2
    exit 1
fi
unwanted=$({ grep -Eo "hardening-no-[a-z-]+|binary-has-unneeded-section [^ ]+" <<<"$report" ||
    true; } | sort -u | tr '\n' ' ')
if [[ -n "$unwanted" ]]; then
    echo "FAIL: lintian finds in $deb: $unwanted" >&2
    exit 1
fi
echo "PASS: lintian finds no error in $(basename "$deb"), nor any hardening or section left out"

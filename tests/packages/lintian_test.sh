#!/usr/bin/env bash
# lintian finds no error in the .deb. Every tag it reports, warnings and
# notes included, is shown, so that a new one is seen when it appears.
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
echo "PASS: lintian finds no error in $(basename "$deb")"

#!/usr/bin/env bash
# No package archive's host is written in the project: neither one of the
# mirrors this machine's apt uses nor any Debian host. (The one address of
# Debian's allowed is the machine-readable copyright format's own name, as
# the Format field that its files must start with; it is no archive. It is
# taken from Debian's reader of the format, python3-debian.)
# Usage: no_archive_host_test.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
format=$(/usr/bin/python3 -c 'from debian.copyright import Copyright; print(Copyright().header.format)')
mapfile -t hosts < <(apt-get indextargets --no-release-info --format '$(SITE)' |
    sed -E 's|^[a-z+]+://([^/:]+).*|\1|' | sort -u)
found=$({ git grep -nF "${hosts[@]/#/-e}" || true
          git grep -nE '[A-Za-z0-9.-]*debian\.(org|net)' | grep -vxF -e ".reuse/dep5:1:Format: $format" \
              -e "packaging/copyright:1:Format: $format" || true; } | sort -u)
if [[ -n "$found" ]]; then
    echo "FAIL: archive hosts (${hosts[*]} or Debian's) named in the project:" >&2
    echo "$found" >&2
    exit 1
fi
echo "PASS: no archive host (${hosts[*]}, any of Debian's) named in the project"

#!/usr/bin/env bash
# No package archive's host is written in the project: neither one of the
# mirrors this machine's apt uses nor any Debian host. (The one address of
# Debian's allowed is that of the copyright file format, which the format
# asks its files to start with; it is no archive.)
# Usage: no_archive_host_test.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
format='https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'
mapfile -t hosts < <(apt-get indextargets --no-release-info --format '$(SITE)' |
    sed -E 's|^[a-z+]+://([^/:]+).*|\1|' | sort -u)
found=$({ git grep -nF "${hosts[@]/#/-e}" || true
          git grep -nE '[A-Za-z0-9.-]*debian\.(org|net)' | grep -vF "$format" || true; } | sort -u)
if [[ -n "$found" ]]; then
    echo "FAIL: archive hosts (${hosts[*]} or Debian's) named in the project:" >&2
    echo "$found" >&2
    exit 1
fi
echo "PASS: no archive host (${hosts[*]}, any of Debian's) named in the project"

#!/usr/bin/env bash
# Prints the Debian mirror from which this machine's apt takes SUITE's main
# component, as apt itself reads its sources (sources.list and
# sources.list.d/, one-line or deb822, disabled entries left out), for
# debootstrap or a private source list. The project names no mirror: it
# follows the one the machine uses.
# Usage: tools/debian_mirror.sh [SUITE]   (default: bookworm)
set -euo pipefail
suite=${1:-bookworm}
mirror=$(apt-get indextargets --no-release-info --format '$(RELEASE) $(COMPONENT) $(REPO_URI)' |
    awk -v suite="$suite" '!found && $1 == suite && $2 == "main" { print $3; found = 1 }')
[[ -n "$mirror" ]] ||
    { echo "debian_mirror.sh: apt has no source of $suite main (see /etc/apt/sources.list*)" >&2
      exit 1; }
echo "${mirror%/}"

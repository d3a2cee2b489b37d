#!/usr/bin/env bash
# tools/debian_mirror.sh finds the mirror in either form of apt's sources,
# through a private apt configuration (APT_CONFIG): a one-line
# sources.list, and deb822 .sources with a disabled entry and another suite
# before the one asked for; with no source of the suite, it fails.
# Usage: debian_mirror_test.sh
set -euo pipefail
mirror=$(cd "$(dirname "$0")/../../tools" && pwd)/debian_mirror.sh
tmp=$(mktemp -d "${TMPDIR:-/tmp}/ondulix-mirror.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
mkdir "$tmp/parts" "$tmp/lists"
cat >"$tmp/apt.conf" <<END
Dir::Etc::SourceList "$tmp/sources.list";
Dir::Etc::SourceParts "$tmp/parts";
Dir::State::Lists "$tmp/lists";
END
export APT_CONFIG=$tmp/apt.conf

# expect SUITE WANT CASE: the mirror found for SUITE is WANT.
expect() {
    local got
    got=$("$mirror" "$1" 2>/dev/null) || got="(none)"
    [[ "$got" == "$2" ]] || fail "$3: found '$got' for $1, expected '$2'"
}

echo "# an old mirror" >"$tmp/sources.list"
echo "deb [arch=amd64] http://one-line.invalid/debian/ bookworm main contrib" >>"$tmp/sources.list"
expect bookworm http://one-line.invalid/debian "one-line sources.list"

: >"$tmp/sources.list"
cat >"$tmp/parts/archive.sources" <<END
Types: deb
URIs: http://disabled.invalid/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb
URIs: http://security.invalid/debian-security
Suites: bookworm-security
Components: main

Types: deb deb-src
URIs: http://deb822.invalid/debian
Suites: bookworm bookworm-updates
Components: main
END
expect bookworm http://deb822.invalid/debian "deb822 .sources"
expect bookworm-security http://security.invalid/debian-security "deb822 .sources"
expect trixie "(none)" "no source of the suite"
echo "PASS: the mirror from a one-line sources.list and from deb822 .sources"

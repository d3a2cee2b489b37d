#!/usr/bin/env bash
# The packages are reproducible. The package of PRESET, made again by
# tools/package.sh from a copy of the project's files in another folder,
# later, with another umask and time zone, is the same byte for byte as the
# one in PACKAGES_DIR (diffoscope, where installed, shows how they differ).
# Every package in PACKAGES_DIR is dated SOURCE_DATE_EPOCH throughout and
# names neither folder in any file it ships (reproducible_check.py).
# Usage: reproducible_test.sh PACKAGES_DIR PRESET
set -euo pipefail
packages=$(readlink -f "$1") preset=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
: "${SOURCE_DATE_EPOCH:=$(git -C "$root" log -1 --format=%ct)}"
export SOURCE_DATE_EPOCH

# The files git knows of (committed or not, ignored ones left out), as a
# fresh checkout would hold them; a copy has no .git, hence the date above.
copy=$root/build/reproduce/ondulix
rm -rf "$root/build/reproduce"
mkdir -p "$copy"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do if [[ -e "$file" ]]; then printf '%s\0' "$file"; fi; done |
    tar -c --null -T - -f -) | (umask 077 && tar -x --no-same-permissions -C "$copy" -f -)

started=$(date +%s)
(umask 077 && cd "$copy" && TZ=Pacific/Chatham tools/package.sh "$preset") >"$copy.log" 2>&1 ||
    { tail -30 "$copy.log" >&2; fail "tools/package.sh $preset in $copy"; }
echo "$preset made again in $copy in $(($(date +%s) - started)) s"

made=0
for again in "$copy"/build/packages/*; do
    name=$(basename "$again")
    [[ "$name" == SHA256SUMS ]] && continue
    [[ -f "$packages/$name" ]] || fail "$name made again, but not in $packages"
    if ! cmp "$packages/$name" "$again"; then
        if command -v diffoscope >/dev/null; then
            diffoscope --text - "$packages/$name" "$again" | head -60 >&2 || true
        fi
        fail "$name differs when made in another folder"
    fi
    echo "$name: the same ($(sha256sum <"$again" | cut -c1-64))"
    made=$((made + 1))
done
((made > 0)) || fail "no package made with preset $preset"
/usr/bin/python3 "$here/reproducible_check.py" "$packages" "$root" "$copy"

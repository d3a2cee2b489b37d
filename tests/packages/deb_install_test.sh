#!/usr/bin/env bash
# The .deb on a clean Debian: installed into a fresh minimal bookworm root
# with dpkg -i and apt-get -f install, `ondulix` run there headless from an
# empty folder until a close signal ends it with 1, a folder's own earth.bmp
# preferred to the packaged one, then purged without leaving a file.
# Usage: deb_install_test.sh ONDULIX.deb   (as root; needs debootstrap)
# The root comes from the mirror this machine's apt uses
# (tools/debian_mirror.sh), or from ONDULIX_DEBIAN_MIRROR when it is set.
set -euo pipefail
deb=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
[[ $(id -u) == 0 ]] || { echo "FAIL: $0 needs root (debootstrap, chroot, mount)" >&2; exit 1; }
work=$(readlink -f "$here/../../build")/package-root
root="$work/root"
mirror=${ONDULIX_DEBIAN_MIRROR:-$("$here/../../tools/debian_mirror.sh" bookworm)}

# How the demo runs without a screen, in this one place: no display to find,
# and the program's headless windowing back end.
headless=(-u DISPLAY -u WAYLAND_DISPLAY ONDULIX_BACKEND=headless)
# A user's PATH, not this script's.
user_path=PATH=/usr/local/bin:/usr/bin:/bin

demo=""
fail() {
    echo "FAIL: $*" >&2
    [[ -s "$work/demo.log" ]] && { echo "--- the demo's stderr:" >&2; cat "$work/demo.log" >&2; }
    exit 1
}
started=$(date +%s)
step() { echo "== [$(($(date +%s) - started)) s] $*"; }

# Unmounts whatever is mounted under the root, innermost first.
mounts() { findmnt -n -l -o TARGET | awk -v under="$root/" 'index($0, under) == 1'; }
unmount_all() {
    local target
    for target in $(mounts | sort -r); do
        umount "$target" 2>/dev/null || umount -l "$target"
    done
}
cleanup() {
    if [[ -n "$demo" ]]; then kill -KILL "$demo" 2>/dev/null || true; fi
    unmount_all || true
}
trap cleanup EXIT
# A stopped run cleans up too: bash skips the EXIT trap on a fatal signal.
trap 'exit 1' INT TERM HUP

# A fresh root every time; only debootstrap's downloads are kept.
step "a minimal Debian 12 root from $mirror"
unmount_all
[[ -z "$(mounts)" ]] || fail "$root still has mounts"
rm -rf --one-file-system "$root"
mkdir -p "$work/cache"
debootstrap --variant=minbase --cache-dir="$work/cache" bookworm "$root" "$mirror" \
    >"$work/debootstrap.log" 2>&1 || { tail -20 "$work/debootstrap.log" >&2; fail "debootstrap"; }
mount -t proc proc "$root/proc"
in_root() { chroot "$root" "$@"; }

step "dpkg -i, then apt-get -f install for what it depends on"
cp "$deb" "$root/tmp/ondulix.deb"
# Dependencies missing from the fresh root leave the package unconfigured.
in_root dpkg -i /tmp/ondulix.deb >"$work/install.log" 2>&1 || true
export DEBIAN_FRONTEND=noninteractive
in_root apt-get update -qq >>"$work/install.log" 2>&1 || fail "apt-get update in the root"
# No recommended packages: what Depends names alone must be enough to run.
in_root apt-get -f install -y -qq --no-install-recommends >>"$work/install.log" 2>&1 ||
    { tail -20 "$work/install.log" >&2; fail "apt-get -f install"; }
[[ $(in_root dpkg-query -W -f='${Status}' ondulix) == "install ok installed" ]] ||
    fail "ondulix is not installed: $(in_root dpkg-query -W -f='${Status}' ondulix 2>&1)"

# run_demo DIR: starts `ondulix`, found on a user's PATH, in DIR of the root,
# headless, logging its flips to $root/tmp/flips.log; sets $demo to its pid.
run_demo() {
    rm -f "$root/tmp/flips.log"
    : >"$work/demo.log"
    chroot "$root" env "${headless[@]}" "$user_path" ONDULIX_FLIP_LOG=/tmp/flips.log \
        sh -c "cd '$1' && exec ondulix" 2>"$work/demo.log" &
    demo=$!
}
flips() { [[ -f "$root/tmp/flips.log" ]] && wc -l <"$root/tmp/flips.log" || echo 0; }
# wait_end SECONDS WHY: sets $status to the demo's exit status once it ends
# within SECONDS. (Not in $(...): a subshell cannot wait for this one's child.)
wait_end() {
    local _
    for _ in $(seq $(($1 * 10))); do
        if ! kill -0 "$demo" 2>/dev/null; then
            status=0
            wait "$demo" || status=$?
            demo=""
            return 0
        fi
        sleep 0.1
    done
    fail "the demo still runs after $1 s: $2"
}

step "ondulix from an empty folder: frames, then SIGTERM ends it with 1"
mkdir "$root/tmp/empty"
run_demo /tmp/empty
for _ in $(seq 300); do
    (($(flips) >= 10)) && break
    kill -0 "$demo" 2>/dev/null || fail "the demo ended before presenting 10 frames"
    sleep 0.1
done
(($(flips) >= 10)) || fail "only $(flips) frames presented in 30 s"
# One line per new frame: numbered from 1 up, at rising times.
awk '$1 != NR || $2 <= last { exit 1 } { last = $2 }' "$root/tmp/flips.log" ||
    fail "flips out of order: $(head -3 "$root/tmp/flips.log")"
kill -TERM "$demo"
wait_end 15 "SIGTERM did not end it"
[[ "$status" == 1 ]] || fail "exit status $status after SIGTERM, expected 1"
echo "$(flips) frames, ended with 1"

step "ondulix from a folder with its own earth.bmp: that one is read"
# Not a picture: the program says so and ends by itself, where the packaged
# picture would have shown frames.
mkdir "$root/tmp/own"
echo "not a picture" >"$root/tmp/own/earth.bmp"
run_demo /tmp/own
wait_end 15 "it shows a picture other than the folder's earth.bmp"
[[ "$status" == 1 ]] || fail "exit status $status with an unreadable earth.bmp, expected 1"
(($(flips) == 0)) || fail "$(flips) frames presented from the packaged picture"
echo "ended with 1 before any frame: $(tr '\n' ' ' <"$work/demo.log")"

step "dpkg --purge leaves none of the package's files"
mapfile -t files < <(in_root dpkg-query -L ondulix | while read -r f; do
    [[ -d "$root$f" ]] || echo "$f"
done)
((${#files[@]} >= 5)) || fail "dpkg lists only ${#files[@]} files of ondulix"
in_root dpkg --purge ondulix >>"$work/install.log" 2>&1 || fail "dpkg --purge"
left=()
for f in "${files[@]}" /usr/share/ondulix /usr/libexec/ondulix /usr/share/doc/ondulix; do
    if [[ -e "$root$f" || -L "$root$f" ]]; then left+=("$f"); fi
done
((${#left[@]} == 0)) || fail "left after purge: ${left[*]}"
echo "${#files[@]} files removed"

# The root stays for a look until the next run replaces it.
step "done"
trap - EXIT INT TERM HUP
unmount_all
echo "PASS: the .deb installs, runs headless and purges in a clean Debian 12"

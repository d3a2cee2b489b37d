#!/bin/bash
# tools/demo.sh as a person meets it, on a copy of the project's layout whose
# installer and build do nothing and whose build holds the real demo:
#  - without a display it ends with 1, names the headless back end with
#    saved frames and tools/web.sh, and SDL's XDG_RUNTIME_DIR line is not
#    among what it says;
#  - headless, a relative ONDULIX_SAVE_FRAMES is the caller's folder.
# Usage: demo_script_test.sh DEMO_SH ONDULIX EARTH_BMP
script=$1 demo=$2 earth=$3
source "$(dirname "$0")/program_lib.sh" demo-script
root="$work/project"
mkdir -p "$root/tools" "$root/build/native" "$root/assets" "$work/bin" "$work/caller"
cp "$script" "$root/tools/demo.sh"
printf '#!/bin/sh\nexit 0\n' >"$root/tools/deps.sh"
cp "$root/tools/deps.sh" "$work/bin/cmake"
chmod +x "$root/tools/deps.sh" "$work/bin/cmake"
ln -s "$demo" "$root/build/native/ondulix"
cp "$earth" "$root/assets/"
export PATH="$work/bin:$PATH"
unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET XDG_RUNTIME_DIR SDL_VIDEODRIVER ONDULIX_BACKEND

status=0
"$root/tools/demo.sh" >"$work/out" 2>"$work/err" || status=$?
[[ $status -eq 1 ]] || fail "exit code $status without a display, expected 1"
for said in "no display for windows:" "ONDULIX_BACKEND=headless" "ONDULIX_SAVE_FRAMES=" \
    "tools/web.sh"; do
    grep -qF -- "$said" "$work/err" || fail "it does not say \"$said\""
done
! grep -q XDG_RUNTIME_DIR "$work/err" || fail "SDL's XDG_RUNTIME_DIR line reaches the user"
[[ $(grep -c "tools/web.sh" "$work/err") -eq 1 ]] || fail "the alternatives are not named once"
echo "without a display: exit code 1, and it says:"
cat "$work/err"

# In a session of its own, so that Ctrl+C can be sent as a terminal sends
# it: to the script and the demo together.
(cd "$work/caller" && ONDULIX_BACKEND=headless ONDULIX_SAVE_FRAMES=frames \
    ONDULIX_SAVE_EVERY=10 exec setsid "$root/tools/demo.sh") >"$work/out" 2>"$work/err" &
pid=$!
wait_until "a frame in the caller's ./frames" test -e "$work/caller/frames/frame-0010.png"
kill -INT -- "-$pid"
wait_end
[[ $status -eq 1 ]] || fail "exit code $status headless after SIGINT, expected 1"
! grep -q "Without a display" "$work/err" || fail "the hint shows where frames were saved"
echo "headless: frames saved in the caller's ./frames; SIGINT -> exit code 1"

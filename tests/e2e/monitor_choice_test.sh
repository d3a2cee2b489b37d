#!/usr/bin/env bash
# ONDULIX_DISPLAY on an X server with two monitors side by side (Xorg's
# dummy driver: 1024x768, then 800x600 to its right; Xvfb has one RandR
# output, and SDL counts outputs, not `xrandr --setmonitor` monitors). No
# window manager runs, so the demo places its window itself.
# Usage: monitor_choice_test.sh ONDULIX ASSETS
# Exits 77 (skipped) where Xorg with the dummy driver cannot be started here.
set -euo pipefail
ondulix=$1 assets=$2
source "$(dirname "$0")/lib.sh"

if [[ $(id -u) -ne 0 ]] || ! command -v Xorg >/dev/null ||
    ! ls /usr/lib/xorg/modules/drivers/dummy_drv.so >/dev/null 2>&1; then
    echo "SKIP: needs root and Xorg's dummy driver (xserver-xorg-video-dummy)"
    exit 77
fi

# No input devices of the machine are taken: keys come through XTEST.
cat >"$E2E_TMP/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 32768
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806
  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768" "800x600"
    Virtual 1824 768
  EndSubSection
EndSection
CONF
fifo="$E2E_TMP/displayfd"
mkfifo "$fifo"
Xorg -displayfd 3 -config "$E2E_TMP/xorg.conf" -logfile "$E2E_TMP/xorg.log" -noreset \
    -nolisten tcp -novtswitch -sharevts 3>"$fifo" >/dev/null 2>&1 &
E2E_PIDS+=($!)
read -r -t 20 display <"$fifo" || fail "Xorg did not start (see $E2E_TMP/xorg.log)"
export DISPLAY=":$display"
xrandr --addmode DUMMY1 800x600
xrandr --output DUMMY1 --mode 800x600 --right-of DUMMY0
xrandr --listmonitors

unset ONDULIX_BACKEND ONDULIX_SCALE ONDULIX_DISPLAY
export SDL_RENDER_DRIVER=software
# CHOICE (unset when empty), WINDOWED, the window's expected geometry, and
# what stderr must say.
while IFS='|' read -r choice windowed want said; do
    echo "ONDULIX_DISPLAY=${choice:-(unset)} ONDULIX_WINDOWED=$windowed"
    start_demo "$assets" env ONDULIX_WINDOWED="$windowed" ${choice:+ONDULIX_DISPLAY="$choice"} \
        "$ondulix"
    window=$(wait_for_window Ondulix)
    expect_geometry "$window" "$want"
    wait_for_picture "$window"
    send_keys "$window" space
    expect_ends_with_1 "$E2E_DEMO_PID" "$window" 15 5
    # The key ended the demo between its press and its release: the server
    # would hold it down for the next case.
    xdotool keyup space 2>/dev/null || true
    if [[ -n "$said" ]]; then
        grep -qF "$said" "$E2E_TMP/demo.log" || fail "stderr does not say \"$said\""
        [[ $(wc -l <"$E2E_TMP/demo.log") -eq 1 ]] || fail "more than the one line on stderr"
    fi
done <<'CASES'
|0|1024x768+0+0|
0|0|1024x768+0+0|
1|0|800x600+1024+0|
1|1|640x480+1104+60|
2|0|1024x768+0+0|ONDULIX_DISPLAY=2 names no monitor
one|1|640x480+192+144|ONDULIX_DISPLAY=one names no monitor
CASES

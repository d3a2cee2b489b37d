# The Wine set-up shared by every test that runs the Windows build: a
# Japanese locale (so Wine's ANSI code page is 932, as on the Windows the
# messages are written for) and one prefix with a 1024x768 virtual desktop
# (Xvfb cannot switch modes; in a virtual desktop SetDisplayMode works).
# Sourced with ONDULIX_WINE_DIR set; creates what is missing, under a lock.

: "${ONDULIX_WINE_DIR:?set ONDULIX_WINE_DIR}"
mkdir -p "$ONDULIX_WINE_DIR"
export WINEPREFIX="$ONDULIX_WINE_DIR/prefix"
# Wine's errors reach the demo's log; its many notes on what it leaves
# unimplemented do not.
export WINEDEBUG=fixme-all
export LOCPATH="$ONDULIX_WINE_DIR/locale"
unset LC_ALL LC_CTYPE LC_MESSAGES

# Runs a command in the Japanese locale (this shell keeps its own, which may
# not exist here).
jp() { LANG=ja_JP.UTF-8 "$@"; }

# Ends every Wine process of the prefix, the virtual desktop included, and
# waits until its wineserver is gone, so that the next program starts a
# fresh one instead of meeting one that is shutting down.
wine_stop() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

# The process id of this prefix's running wineserver (other prefixes may
# have their own), for measuring what it costs; empty when none runs.
wineserver_pid() {
    local pid
    for pid in $(pgrep -x 'wineserver(32|64)?'); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
            return 0
        fi
    done
}

wine_env_prepare() {
    (
        flock 9
        if [[ ! -d "$LOCPATH/ja_JP.UTF-8" ]]; then
            mkdir -p "$LOCPATH"
            localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8"
        fi
        if [[ ! -f "$WINEPREFIX/.ondulix-ready" ]]; then
            rm -rf "$WINEPREFIX"
            jp wineboot -i >/dev/null 2>&1
            jp wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1
            jp wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
            jp wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
                >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/.ondulix-ready"
        fi
    ) 9>"$ONDULIX_WINE_DIR/.lock"
}

# Starts the virtual desktop on this test's X server and waits for it.
# Otherwise the first Wine program starts it and gives up after Wine's own
# 10-second limit, which a loaded machine can exceed: the program then has
# no desktop, cannot create a window and ends unseen.
wine_start_desktop() {
    jp wine explorer /desktop=Default,1024x768 >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_for_window "Default - Wine desktop" 60 >/dev/null
}

#!/usr/bin/env bash
# CTest's emulator for the x86_64 Windows build: runs a Windows program under
# Wine, on a private X server (DirectDraw needs one), in the tests' prefix.
# Usage: wine_run.sh PROGRAM.exe [ARGS...]; exits with the program's status.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
: "${ONDULIX_WINE_DIR:=$here/../../build/wine}"
export ONDULIX_WINE_DIR
source "$here/lib.sh"
source "$here/wine_env.sh"
E2E_ON_EXIT=wine_stop
start_xvfb
wine_env_prepare
wine_start_desktop
status=0
LANG=ja_JP.UTF-8 wine "$@" || status=$?
exit "$status"

#!/usr/bin/env bash
# The wave's landing rows of the WebAssembly build, run by node, equal the
# native build's (see ../wave_rows_test.sh).
# Usage: wave_rows_test.sh WAVE_ROWS.js NATIVE_WAVE_ROWS FIRST LAST
set -euo pipefail
exec "$(dirname "$0")/../wave_rows_test.sh" "$2" "$3" "$4" web node "$1"

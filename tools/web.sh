#!/usr/bin/env bash
# Sets up and builds the browser build (the web preset) and serves its page
# from build/web on this machine only (127.0.0.1), printing the address to
# open. Ctrl+C stops the server.
# Environment: ONDULIX_WEB_PORT, the port (default 8000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
port=${ONDULIX_WEB_PORT:-8000}
"$root/tools/deps.sh" web
cd "$root"
cmake --preset web >/dev/null
cmake --build --preset web --target ondulix
echo "Ondulix in the browser: http://127.0.0.1:$port/ (Ctrl+C stops the server)"
# The page runs opened from disk as well (build/web/index.html); served, it
# can also take ?picture= from the folder, and comes compressed to a browser
# that asks for it.
exec python3 "$root/tools/web_serve.py" "$root/build/web" "$port"

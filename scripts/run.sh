#!/usr/bin/env bash
# Installs what is needed, builds Tavren and starts it in the current directory,
# where it reads the order file tavren.txt. On a machine without a display it
# starts Tavren on a virtual display instead and writes a screenshot of its
# window; from a terminal Tavren then keeps running there until Ctrl+C.
set -euo pipefail
workdir="$(pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Starting Tavren on $DISPLAY; close its main window (or press Ctrl+C here) to stop it."
    exec "$root/build/tavren" "$@"
fi
shot="${TAVREN_SCREENSHOT:-$workdir/tavren-screenshot.png}"
echo "No display here: Tavren runs on a virtual display (Xvfb with openbox)."
keep=""
[ -t 0 ] && [ -t 1 ] && keep="--keep"
"$root/scripts/with-desktop.sh" "$root/scripts/screenshot.sh" "$root/build/tavren" "$shot" $keep
[ -n "$keep" ] || echo "Tavren has been stopped after the screenshot (run this from a terminal to keep it running)."

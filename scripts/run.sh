#!/usr/bin/env bash
# Installs what is needed, builds Tavren and starts it in the current directory,
# where it reads the order file tavren.txt. On a machine without a display it
# starts Tavren on a virtual display instead, writes a screenshot of it and
# prints the screenshot's path.
set -euo pipefail
workdir="$(pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$root/build/tavren"
fi
shot="${TAVREN_SCREENSHOT:-$workdir/tavren-screenshot.png}"
"$root/scripts/with-desktop.sh" "$root/scripts/screenshot.sh" "$root/build/tavren" "$shot"
echo "No display here: Tavren ran on a virtual display. Screenshot: $shot"

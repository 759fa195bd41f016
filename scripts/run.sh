#!/usr/bin/env bash
# Installs what is needed, builds Tavren and starts it in the current directory,
# where it reads the order file tavren.txt. Where there is no tavren.txt it
# starts Tavren in examples/ instead, with the example order file, and says so.
# Arguments go to Tavren (e.g. --verbose, --help). On a machine without a
# display it starts Tavren on a virtual display instead and writes a screenshot
# of its window; from a terminal Tavren then keeps running there until Ctrl+C.
set -euo pipefail
workdir="$(pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ ! -f tavren.txt ]; then
    echo "No tavren.txt in $workdir: Tavren starts with the example order file $root/examples/tavren.txt." >&2
    cd "$root/examples"
fi
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Starting Tavren on $DISPLAY; close its main window (or press Ctrl+C here) to stop it."
    exec "$root/build/tavren" "$@"
fi
shot="${TAVREN_SCREENSHOT:-$workdir/tavren-screenshot.png}"
echo "No display here: Tavren runs on a virtual display (Xvfb with openbox)."
keep=""
[ -t 0 ] && [ -t 1 ] && keep="--keep"
# Ctrl+C is for Tavren alone: it ends, and then the virtual display closes. Were
# the scripts around it to end first, the display would close under Tavren.
[ -z "$keep" ] || trap '' INT
# Tavren run with --help or --version ends without a window, and so without a picture.
before=$(mktemp)
trap 'rm -f "$before"' EXIT
"$root/scripts/with-desktop.sh" "$root/scripts/screenshot.sh" "$root/build/tavren" "$shot" $keep -- "$@"
[ -n "$keep" ] || [ ! "$shot" -nt "$before" ] ||
    echo "Tavren has been stopped after the screenshot (run this from a terminal to keep it running)."

#!/usr/bin/env bash
# Starts Tavren on the current display, waits for its main window, writes a PNG
# screenshot of the desktop and ends Tavren. Usage: screenshot.sh TAVREN OUT.png
set -euo pipefail
program="$1"
out="$2"
"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
if ! timeout 20 xdotool search --sync --onlyvisible --name '^Tavren' >/dev/null; then
    echo "Tavren's window did not appear" >&2
    exit 1
fi
sleep 1 # let the window manager and the first paint settle
import -window root "$out"

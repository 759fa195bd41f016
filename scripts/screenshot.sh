#!/usr/bin/env bash
# Starts Tavren on the current display, waits for its main window and writes a
# PNG screenshot of that window. Then ends Tavren, or with --keep leaves it
# running until it ends or the user presses Ctrl+C.
# Usage: screenshot.sh TAVREN OUT.png [--keep]
set -euo pipefail
program="$1"
out="$2"
keep="${3:-}"
"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=""
for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^Tavren' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
[ -n "$window" ] || { echo "Tavren's window did not appear" >&2; exit 1; }
sleep 1 # let the window manager and the first paint settle
import -window "$window" "$out"
echo "Screenshot of Tavren's window: $out"
if [ "$keep" = "--keep" ]; then
    echo "Tavren keeps running on the virtual display $DISPLAY (process $pid); press Ctrl+C to stop it."
    wait "$pid" || true
fi

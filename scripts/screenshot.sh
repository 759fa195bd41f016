#!/usr/bin/env bash
# Starts Tavren on the current display, waits for its main window and writes a
# PNG screenshot of that window. Then ends Tavren, or with --keep leaves it
# running until it ends or the user presses Ctrl+C. With --board the order board
# is brought to the front (menu "指揮") before the picture is taken.
# With --docs it takes the README's two pictures, docs/screenshot-settings.png
# and docs/screenshot.png, of Tavren started in examples/ with fresh settings.
# Usage: screenshot.sh TAVREN OUT.png [--keep | --board]
#        screenshot.sh --docs TAVREN
set -euo pipefail
if [ "${1:-}" = "--docs" ]; then
    self="$(realpath "$0")"
    root="$(dirname "$self")/.."
    root="$(cd "$root" && pwd)"
    program="$(realpath "$2")"
    config=$(mktemp -d)
    trap 'rm -rf "$config"' EXIT
    cd "$root/examples"
    XDG_CONFIG_HOME="$config/settings" "$self" "$program" "$root/docs/screenshot-settings.png"
    XDG_CONFIG_HOME="$config/board" "$self" "$program" "$root/docs/screenshot.png" --board
    exit 0
fi
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
if [ "$keep" = "--board" ]; then
    # "指揮", the second item of the menu bar.
    xdotool mousemove --window "$window" 58 10 click 1
    sleep 0.5
fi
import -window "$window" "$out"
echo "Screenshot of Tavren's window: $out"
if [ "$keep" = "--keep" ]; then
    echo "Tavren keeps running on the virtual display $DISPLAY (process $pid); press Ctrl+C to stop it."
    wait "$pid" || true
fi

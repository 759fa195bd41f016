#!/usr/bin/env bash
# Starts Tavren on the current display, waits for its main window and writes a
# PNG screenshot of that window. Then ends Tavren, or with --keep leaves it
# running until it ends or the user presses Ctrl+C. With --board the order board
# is brought to the front (menu "指揮") before the picture is taken.
# Arguments after -- go to Tavren; when Tavren ends without showing a window
# (--help, --version, --press) this script ends with Tavren's status and takes
# no picture.
# With --docs it takes the README's two pictures, docs/screenshot-settings.png
# and docs/screenshot.png, of Tavren started in examples/ with fresh settings.
# Usage: screenshot.sh TAVREN OUT.png [--keep | --board] [-- TAVREN_ARGUMENTS...]
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
shift 2
mode=""
case "${1:-}" in
--keep | --board)
    mode="$1"
    shift
    ;;
esac
[ "${1:-}" != "--" ] || shift
# A shell starts a background job with Ctrl+C ignored, which Tavren respects;
# here Ctrl+C is meant for Tavren, which then ends as it does on its own.
env --default-signal=INT "$program" "$@" &
pid=$!
# Tavren is ended, and waited for, while the display is still there: the
# desktop around this script closes its X server and session bus as soon as
# the script ends, and a Tavren still connected then reports the lost
# connection on its way out.
end_tavren() {
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
trap end_tavren EXIT
window=""
for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^Tavren' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        trap - EXIT
        status=0
        wait "$pid" || status=$?
        exit "$status"
    fi
    sleep 0.05
done
[ -n "$window" ] || { echo "Tavren's window did not appear" >&2; exit 1; }
sleep 1 # let the window manager and the first paint settle
if [ "$mode" = "--board" ]; then
    # "指揮", the second item of the menu bar.
    xdotool mousemove --window "$window" 58 10 click 1
    sleep 0.5
fi
import -window "$window" "$out"
echo "Screenshot of Tavren's window: $out"
if [ "$mode" = "--keep" ]; then
    echo "Tavren keeps running on the virtual display $DISPLAY (process $pid); press Ctrl+C to stop it."
    wait "$pid" || true
fi

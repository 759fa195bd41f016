#!/usr/bin/env bash
# Runs a command on a private virtual desktop: Xvfb, the openbox window manager
# and a private D-Bus session bus, all ended when the command ends.
# Usage: scripts/with-desktop.sh COMMAND [ARGS...]
set -euo pipefail

display=""
for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }

Xvfb "$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
wm=""
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
export DISPLAY="$display"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# Wait until the window manager has announced itself.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
exec_status=0
dbus-run-session -- "$@" || exec_status=$?
exit $exec_status

#!/usr/bin/env bash
# Runs a command on a private virtual desktop: Xvfb, the openbox window manager
# and a private D-Bus session bus, all ended when the command ends.
# Usage: scripts/with-desktop.sh COMMAND [ARGS...]
set -euo pipefail

# Xvfb picks a free display number itself and reports it (-displayfd): choosing
# one here would race with other desktops starting at the same moment, and two
# runs would end up sharing one server.
numberfile=$(mktemp)
# A private runtime directory, as a desktop session has one.
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR="$runtime"
# In a session of their own, the server and the window manager outlive a Ctrl+C
# meant for the command: they are ended below, after the command and its windows.
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
xvfb=$!
wm=""
trap 'kill $wm $xvfb 2>/dev/null || true; rm -rf "$numberfile" "$runtime"' EXIT
for _ in $(seq 200); do [ -s "$numberfile" ] && break; sleep 0.05; done
[ -s "$numberfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
display=":$(head -n1 "$numberfile")"
export DISPLAY="$display"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
setsid openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# Wait until the window manager has announced itself.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
exec_status=0
dbus-run-session -- "$@" || exec_status=$?
exit $exec_status

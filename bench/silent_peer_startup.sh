#!/usr/bin/env bash
# Start-up beside a peer that owns the IRC link's name and never answers (what
# a hung IRC client looks like on the bus): the start-up benchmark run twice on
# this desktop's session bus, without a peer and with tavren-link-monitor
# --never-answer serving the name. Tavren should not notice the difference.
# Usage: bench/silent_peer_startup.sh [build directory] [tavren program]
set -euo pipefail
build="${1:-build}"
program="${2:-$build/tavren}"
echo "-- no peer"
"$build/tavren_startup_bench" "$program" 5 | tail -1
"$build/tavren-link-monitor" --never-answer >/dev/null 2>&1 &
monitor=$!
trap 'kill $monitor 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.tavren.Conversation.CHOCOA.SCRIPTEXEC_SEND |
        grep -q true && break
    sleep 0.05
done
echo "-- a peer that never answers"
"$build/tavren_startup_bench" "$program" 5 | tail -1

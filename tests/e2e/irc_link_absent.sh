#!/usr/bin/env bash
# Without an IRC client on the session bus, start-up carries on silently: the
# main window and the nick window come up, and pressing a nick button leaves
# the program running. The time to the main window is printed, not judged.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"

printf '*servername=irc.example\r\n*nick=on\r\n' >"$scratch/tavren.txt"
started=$(date +%s%N)
start_tavren
echo "main window after $((($(date +%s%N) - started) / 1000000)) ms (including the 0.5 s settle)"

nick=$(timeout 20 xdotool search --sync --onlyvisible --name '^nick$' | head -1) ||
    fail "the nick window did not appear"
click_control "$nick" 0 120 1320 1335 270 # txt_nick
xdotool type --delay 20 'Taro'
click_control "$nick" 0 120 1080 600 255 # Command6 "HOQ"

# The press has been handled once the window answers again.
xdotool windowactivate --sync "$TAVREN_WINDOW" >/dev/null
kill -0 "$TAVREN_PID" 2>/dev/null || fail "tavren ended: $(cat "$scratch/tavren.log")"
xdotool search --onlyvisible --name '^nick$' >/dev/null || fail "the nick window went away"
echo "PASS: no IRC client, no complaint"

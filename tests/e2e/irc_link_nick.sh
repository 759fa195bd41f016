#!/usr/bin/env bash
# The IRC link from start-up to the nick window: with the IRC client's end served
# on the session bus, tavren announces itself under the first and then under the
# order file's server name, shows the nick window, and its "HOQ" button asks for
# the nick change byte for byte, trailing spaces of the typed nick removed.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"

start_link_monitor
printf '*servername=irc.example\r\n*nick=on\r\n' >"$scratch/tavren.txt"
start_tavren

nick=$(timeout 20 xdotool search --sync --onlyvisible --name '^nick$' | head -1) ||
    fail "the nick window did not appear"

monitor="$scratch/monitor.log"
wait_until 20 has_at_least_lines "$monitor" 2 || fail "announcements: $(cat "$monitor")"
printf '%s\n' 'Text1,/privmsg $# Connect.... OK' 'irc.example,/privmsg $# Connect.... OK' |
    cmp - "$monitor" || fail "the announcements were: $(od -c "$monitor")"

# The nick window has no menu bar: its controls start at the client area's top.
click_control "$nick" 0 120 1320 1335 270 # txt_nick
xdotool type --delay 20 'Taro  '
click_control "$nick" 0 120 1080 600 255 # Command6 "HOQ"

# The monitor ends each command it logs with a newline of its own.
wait_until 20 has_at_least_lines "$monitor" 4 || fail "no nick change: $(od -c "$monitor")"
printf 'Text1,/privmsg $# Connect.... OK\nirc.example,/privmsg $# Connect.... OK\nirc.example,/nick HOQ_Taro\r\n\n' |
    cmp - "$monitor" || fail "the link received: $(od -c "$monitor")"
echo "PASS: two announcements and the nick change arrived byte for byte"

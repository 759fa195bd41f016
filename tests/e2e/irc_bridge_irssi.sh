#!/usr/bin/env bash
# Tavren and irssi on a real IRC server, through the irssi script Tavren ships:
# loaded while tavren-irc-bridge already serves the conversation, the script
# waits for the name and takes it over when the bridge ends; then the
# announcement goes, twice, to the channel of the server the order file names
# (letter case ignored), and "WS" renames the irssi user.
source "$(dirname "$0")/irc_bridge.bash"

# irssi, in a terminal of its own (script(1) gives it one), with a chat network
# NETWORK that connects at start and joins the channel as NICK; the script
# starts from irssi's autorun folder, as a user sets it up.
start_irssi() {
    local network="$1" nick="$2" home="$scratch/irssi"
    mkdir -p "$home/scripts/autorun"
    cp "${TAVREN_IRSSI_SCRIPT:-$(dirname "$0")/../../data/irssi/tavren.pl}" "$home/scripts/autorun/"
    cat >"$home/config" <<CONF
servers = ( { address = "127.0.0.1"; port = "$IRC_PORT"; chatnet = "$network"; autoconnect = "yes"; } );
chatnets = { $network = { type = "IRC"; }; };
channels = ( { name = "$channel"; chatnet = "$network"; autojoin = "yes"; } );
settings = { core = { nick = "$nick"; user_name = "$nick"; real_name = "$nick"; }; };
CONF
    # A FIFO open for reading and writing never ends irssi's input.
    mkfifo "$scratch/irssi.in"
    exec {irssi_input}<>"$scratch/irssi.in"
    TERM=xterm script -qfc "irssi --home=$home" "$scratch/irssi.typescript" \
        <&"$irssi_input" >/dev/null 2>&1 &
    pids+=($!)
    wait_until 20 seen "$(from "$nick").* JOIN :?$channel\$" ||
        fail "irssi did not join: $(irssi_screen)"
}
irssi_screen() { sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' "$scratch/irssi.typescript" | tail -c 2000; }

bus_owners() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.ListQueuedOwners "string:$bridge_name" 2>/dev/null | grep -c '"'
}
served_by_irssi() { [ "$(cat "/proc/$(bridge_pid)/comm" 2>/dev/null)" = irssi ]; }

start_bus
start_irc_server

# The bridge serves the conversation already (the bus started it for a Tavren
# run before irssi): the script loaded now queues behind it.
"${TAVREN_BRIDGE:-$TAVREN_BUILD/tavren-irc-bridge}" 2>"$scratch/bridge.err" &
bridge=$!
pids+=($bridge)
wait_until 10 bridge_serves || fail "the bridge does not serve: $(cat "$scratch/bridge.err")"
start_irssi TavrenNet irssiuser
wait_until 10 test "$(bus_owners)" -eq 2 || fail "the script is not queued: $(irssi_screen)"
[ "$(bridge_pid)" = "$bridge" ] || fail "the script took the name from the bridge"
kill "$bridge"
wait_until 10 served_by_irssi || fail "irssi did not take the conversation over: $(irssi_screen)"

start_tavren_with '*servername=TAVRENNET\r*nick=on\r'
wait_until 20 seen_at_least 2 "$(from irssiuser)[^ ]*$announcement" ||
    fail "two announcements expected: $(cat "$observed") $(irssi_screen)"
type_nick 'Taro  '
press_ws
wait_until 20 seen "$(from irssiuser)[^ ]* NICK :?WS_Taro\$" || fail "no rename: $(cat "$observed")"
[ "$(count_seen ' PRIVMSG ')" -eq 2 ] || fail "messages: $(cat "$observed")"
echo "PASS: the irssi script took the conversation over from the bridge, announced twice and renamed the user"

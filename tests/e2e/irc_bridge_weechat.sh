#!/usr/bin/env bash
# Tavren and WeeChat on a real IRC server, nothing started by hand: the bus
# starts tavren-irc-bridge on Tavren's first command. Without a client nothing
# is shown and the commands are dropped; with WeeChat in the channel the
# announcement arrives once without a server line and twice with one naming
# WeeChat's server (letter case ignored), "WS" renames the user, and a Japanese
# nick reaches the server exactly as typed or is refused by it.
source "$(dirname "$0")/irc_bridge.bash"

start_bus
start_irc_server

# --- No IRC client: the bridge is started, nothing is shown, nothing arrives --
managed_windows() { xprop -root _NET_CLIENT_LIST | tr ',' '\n' | grep -c 0x || true; }
windows_before=$(managed_windows)
started=$(date +%s%N)
start_tavren_with '*nick=on\r'
echo "main window after $((($(date +%s%N) - started) / 1000000)) ms with no IRC client (including the 0.5 s settle)"
wait_until 10 bridge_serves || fail "the bus did not start tavren-irc-bridge"
press_ws
xdotool windowactivate --sync "$TAVREN_WINDOW" >/dev/null
# Tavren's two windows are all that appeared.
[ "$(managed_windows)" -eq $((windows_before + 2)) ] ||
    fail "a window appeared beside Tavren's"
close_tavren

# --- WeeChat in the channel ---------------------------------------------------
start_weechat tavrenwee weeuser
start_tavren_with '*nick=on\r'
wait_until 20 seen "$(from weeuser)[^ ]* PRIVMSG" || fail "no announcement: $(cat "$observed")"
type_nick 'Taro  '
press_ws
wait_until 20 seen "$(from weeuser)[^ ]* NICK :?WS_Taro\$" || fail "no rename: $(cat "$observed")"
[ "$(count_seen "$(from weeuser)[^ ]*$announcement")" -eq 1 ] || fail "announcements: $(cat "$observed")"
[ "$(count_seen ' PRIVMSG ')" -eq 1 ] || fail "messages: $(cat "$observed")"
close_tavren

# The order file names WeeChat's server in another letter case; the nick text
# from the settings file is Japanese. WeeChat shows its server buffer now, so
# the announcements go to the server's first channel.
fifo=$(echo "$XDG_RUNTIME_DIR"/weechat/weechat_fifo_*)
printf '%s\n' '*/buffer irc.server.tavrenwee' \
    '*/eval /print -core in front: ${window[gui_current_window].buffer.full_name}' >"$fifo"
wait_until 10 grep -q 'in front: irc.server.tavrenwee' "$XDG_DATA_HOME/weechat/logs/core.weechat.weechatlog" ||
    fail "WeeChat did not show its server buffer"
start_tavren_with '*servername=TavrenWEE\r*nick=on\r' '太郎'
wait_until 20 seen_at_least 2 "$(from WS_Taro)[^ ]*$announcement" ||
    fail "two announcements expected: $(cat "$observed")"
press_a
type_nick 'Taro'
press_d
# Commands are handed over in order: once D_Taro is there, A_太郎 has been tried.
wait_until 20 seen "$(from WS_Taro)[^ ]* NICK :?D_Taro\$" || fail "no rename: $(cat "$observed")"
[ "$(count_seen "$(from WS_Taro)[^ ]*$announcement")" -eq 2 ] || fail "announcements: $(cat "$observed")"
# ngircd allows ASCII nicks only: it refuses A_太郎, and WeeChat's server buffer
# shows the server's refusal, which repeats the nick it received.
if ! seen ' NICK :?A_太郎$'; then
    wait_until 10 grep -q 'A_太郎: Erroneous nickname' "$XDG_DATA_HOME"/weechat/logs/irc.server.tavrenwee.weechatlog ||
        fail "A_太郎 was neither taken nor refused as sent: $(cat "$XDG_DATA_HOME"/weechat/logs/irc.server.tavrenwee.weechatlog)"
fi
[ "$(count_seen ' NICK ')" -le 3 ] || fail "nick changes: $(cat "$observed")"
# The bridge ends with the session's bus.
bridge=$(bridge_pid)
[ -n "$bridge" ] || fail "nobody serves the conversation"
kill "$BUS_PID"
wait_until 10 process_gone "$bridge" || fail "the bridge outlived its bus"
echo "PASS: WeeChat announced once, then twice under its server, and renamed the user"

#!/usr/bin/env bash
# Tavren and HexChat on a real IRC server, with WeeChat on another server name
# as a second client: the announcement without a server line goes to the first
# client (HexChat, its current server); a server line naming HexChat's network
# (letter case ignored) reaches HexChat, and one naming WeeChat's server reaches
# WeeChat. "WS" renames the HexChat user; a Japanese nick reaches the server
# exactly as typed or is refused by it.
source "$(dirname "$0")/irc_bridge.bash"

start_bus
start_irc_server
start_hexchat TavrenNet hexuser

start_tavren_with '*servername=tavrennet\r*nick=on\r'
wait_until 20 seen_at_least 2 "$(from hexuser)[^ ]*$announcement" ||
    fail "two announcements expected: $(cat "$observed")"
type_nick 'Taro  '
press_ws
wait_until 20 seen "$(from hexuser)[^ ]* NICK :?WS_Taro\$" || fail "no rename: $(cat "$observed")"
[ "$(count_seen ' PRIVMSG ')" -eq 2 ] || fail "messages: $(cat "$observed")"
close_tavren

# A second client; the order file names its server. The nick text from the
# settings file is Japanese.
start_weechat tavrenwee weeuser
start_tavren_with '*servername=tavrenwee\r*nick=on\r' '太郎'
wait_until 20 seen_at_least 2 "$(from WS_Taro)[^ ]*$announcement|$(from weeuser)[^ ]*$announcement" ||
    fail "announcements: $(cat "$observed")"
[ "$(count_seen "$(from WS_Taro)[^ ]*$announcement")" -eq 1 ] || fail "announcements: $(cat "$observed")"
[ "$(count_seen "$(from weeuser)[^ ]*$announcement")" -eq 1 ] || fail "announcements: $(cat "$observed")"
close_tavren

start_tavren_with '*servername=TavrenNet\r*nick=on\r' '太郎'
wait_until 20 seen_at_least 3 "$(from WS_Taro)[^ ]*$announcement" || fail "announcements: $(cat "$observed")"
press_a
type_nick 'Taro'
press_d
# Handed over in order: once D_Taro is there, A_太郎 has been tried.
wait_until 20 seen "$(from WS_Taro)[^ ]* NICK :?D_Taro\$" || fail "no rename: $(cat "$observed")"
if seen ' NICK :?A_' && ! seen "$(from WS_Taro)[^ ]* NICK :?A_太郎\$"; then
    fail "the Japanese nick arrived altered: $(od -c "$observed" | tail -20)"
fi
[ "$(count_seen ' NICK ')" -le 3 ] || fail "nick changes: $(cat "$observed")"
echo "PASS: HexChat announced under its network, WeeChat under its server, and HexChat renamed the user"

#!/usr/bin/env bash
# The button "0.0" on the settings panel moves the shown nick window to the
# screen's top-left corner: its frame, not its client area, goes to 0 0, stays
# there, and closing writes the corner as the nick window's place.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"

ini=$settings_ini
mkdir -p "$(dirname "$ini")"
printf '[Option]\r\nchk_rename=1\r\n[Form]\r\ntop=3000\r\nleft=4500\r\n[nick]\r\ntop=7500\r\nleft=12000\r\n' >"$ini"
# A complete order file brings the settings panel to the front.
printf 'hello,FF0000\r\n' >"$scratch/tavren.txt"
start_tavren
nick=$(timeout 20 xdotool search --sync --onlyvisible --name '^nick$' | head -1) ||
    fail "the nick window did not appear"
wait_until 10 frame_is_at "$nick" 800 500 ||
    fail "the nick window is at $(frame_position "$nick"), stored at 800 500"
main_place=$(frame_position "$TAVREN_WINDOW")

menu=$(main_menu_height "$TAVREN_WINDOW")
click_control "$TAVREN_WINDOW" "$menu" 840 1500 375 255 # Command2 "0.0"
wait_until 10 frame_is_at "$nick" 0 0 ||
    fail "after \"0.0\" the nick window's frame is at $(frame_position "$nick")"
sleep 0.5 # late reports of the move would show by now
frame_is_at "$nick" 0 0 || fail "the nick window left the corner for $(frame_position "$nick")"
[ "$(frame_position "$TAVREN_WINDOW")" = "$main_place" ] || fail "the main window moved"

close_tavren
[ "$(ini_value "$ini" nick left) $(ini_value "$ini" nick top)" = "0 0" ] ||
    fail "the corner was written as $(ini_value "$ini" nick left) $(ini_value "$ini" nick top)"
echo "PASS: \"0.0\" put the nick window's frame at the corner, written back as 0 0"

#!/usr/bin/env bash
# Enter in the send box "送信テスト" types the box's text and Enter into the picked
# window, although the user's own Enter is still down when the press begins:
# every round holds Enter on the desktop's keyboard for 150 ms, as a finger does,
# and the target's line must be committed every time.
source "$(dirname "$0")/lib.sh"

printf 'only,FF0000\r\n' >"$scratch/tavren.txt"
log="$scratch/target.log"
start_target enter-target "$log"
start_tavren
pick_send_destination enter-target

# The keys that follow go where the keyboard focus is: on Windows that is
# Tavren once Wine has carried the click's activation over to Windows' side.
tavren_in_front() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$TAVREN_WINDOW" ] || return 1
    [ "$platform" != windows ] || win32_places "$TAVREN_WINDOW" | grep -q ' focus YES'
}

rounds=20
for round in $(seq "$rounds"); do
    # sendtext: 960, 1800, 2295 x 270 twips on the settings panel.
    click_settings_panel $((960 + 2295 / 2)) $((1800 + 270 / 2))
    wait_until 10 tavren_in_front || fail "round $round: Tavren did not come to the front"
    xdotool key ctrl+a BackSpace
    xdotool type --delay 5 "ret test $round"
    "$TAVREN_BUILD/tavren_hold_key" Return 150 || fail "cannot hold Enter"
    line=$(line_of "$log" "$round")
    [ "$line" = "ret test $round" ] || fail "round $round delivered '$line'"
done
[ "$(lines_in "$log")" -eq "$rounds" ] || fail "$(lines_in "$log") lines for $rounds rounds"

echo "PASS: Enter in the send box delivered and committed the line $rounds of $rounds times"

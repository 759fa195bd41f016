#!/usr/bin/env bash
# A destination closed after it was picked: the press ends within its retries
# with nothing typed, and nothing sent on the way leaves a menu open (an Alt
# would open Tavren's own, Tavren being in front, and hold the press in it).
source "$(dirname "$0")/lib.sh"

printf 'hold the bridge,FF0000\r\n' >"$scratch/tavren.txt"
red=0

log="$scratch/target.log"
start_target closed-target "$log"
target_pid=${pids[0]}
# What the press passes over goes to $scratch/tavren.log.
export TAVREN_LOG=1
start_tavren
pick_send_destination closed-target
show_board
wait_until 10 eval 'centre_of_hue "$TAVREN_WINDOW" $red >/dev/null' || fail "the board did not show"

kill "$target_pid"
target_gone() { ! window_named '^closed-target$' >/dev/null; }
wait_until 10 target_gone || fail "the destination did not close"

click_order_button $red 1
ran_out() {
    grep -q "send destination [0-9]* still not in front when the press's retries ran out" \
        "$scratch/tavren.log"
}
wait_until 20 ran_out || fail "the press did not end; tavren reported: $(cat "$scratch/tavren.log")"
! grep -q 'an order was not typed' "$scratch/tavren.log" || fail "the press typed: $(cat "$scratch/tavren.log")"
if [ "$platform" = windows ]; then
    mode=$("$TAVREN_WINE" "$TAVREN_WIN_BUILD/win32_menu_mode.exe" "$(xdotool getwindowname "$TAVREN_WINDOW")") ||
        fail "Windows knows no window named $(xdotool getwindowname "$TAVREN_WINDOW")"
    [ "${mode%$'\r'}" = none ] || fail "Tavren's menu is open"
fi
echo "PASS: the press for a closed destination ended, nothing typed, no menu open"

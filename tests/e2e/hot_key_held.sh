#!/usr/bin/env bash
# A keypad digit held down while another program has the focus presses its
# order button again and again while it is held (there is no debounce), and
# not once more after it is let go; with "キーボード監視" off the keypad
# presses nothing.
source "$(dirname "$0")/lib.sh"

num_lock() { "${TAVREN_BUILD}/tavren_set_num_lock" "$1" || fail "cannot set Num Lock $1"; }
trap '"${TAVREN_BUILD}/tavren_set_num_lock" off || true; cleanup' EXIT
num_lock on

{
    for n in 0 1 2 3 4 5; do printf 'order %s\r\n' "$n"; done
    printf 'held order\r\n*ButtonT=4\r\n*ButtonY=2\r\n'
} >"$scratch/tavren.txt"
order='held order' # keypad 5 presses button 6

log="$scratch/target.log"
start_target held-target "$log"
start_tavren
pick_send_destination held-target

# chk_Key, "キーボード監視": 1920, 1440, 1215 x 375 twips on the settings panel.
click_monitoring() { click_settings_panel $((1920 + 1215 / 2)) $((1440 + 375 / 2)); }
focus_target() { xdotool windowactivate --sync "$TARGET_WINDOW"; }
# The orders committed so far. The held key types its own digit into the
# target too, between the characters of an order as often as not.
orders() { if [ -f "$log" ]; then tr -d 5 <"$log" | grep -c -- "$order\$" || true; else echo 0; fi; }

click_monitoring
focus_target
# Keypad 5 (KP_Begin with Num Lock off, the digit 5 with it on) held on the
# desktop's keyboard for 1.5 s: about fifteen ticks of keyboard monitoring.
"$TAVREN_BUILD/tavren_hold_key" KP_Begin 1500 || fail "cannot hold keypad 5"
# A press under way at the release still ends; then nothing more may come.
sleep 1
held=$(orders)
[ "$held" -ge 2 ] || fail "holding keypad 5 for 1.5 s pressed its button $held times"
sleep 2
[ "$(orders)" -eq "$held" ] || fail "keypad 5 went on pressing after it was let go: $held, then $(orders)"

# Monitoring off: the keypad types its digits into the target and nothing else,
# so the target's next line is those digits and the marker.
click_monitoring
focus_target
lines=$(lines_in "$log")
"$TAVREN_BUILD/tavren_hold_key" KP_Begin 1000 || fail "cannot hold keypad 5"
xdotool key KP_End
sleep 1
xdotool type --delay 20 "marker"
xdotool key Return
line=$(line_of "$log" $((lines + 1)))
[[ "$line" =~ ^5+1marker$ ]] || fail "with monitoring off the keypad delivered '$line'"

echo "PASS: keypad 5 held for 1.5 s pressed its button $held times, none after it was let go or with monitoring off"

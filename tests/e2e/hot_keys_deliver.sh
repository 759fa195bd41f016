#!/usr/bin/env bash
# With "キーボード監視" on, a keypad digit pressed while another program has the
# focus presses the order button after that digit (keypad 0 presses button 1,
# the second order line) and types its caption into the picked window.
source "$(dirname "$0")/lib.sh"

num_lock() { "${TAVREN_BUILD}/tavren_set_num_lock" "$1" || fail "cannot set Num Lock $1"; }
trap '"${TAVREN_BUILD}/tavren_set_num_lock" off || true; cleanup' EXIT
# Keypad keys are digits only with Num Lock on. xdotool is given the keys' Num
# Lock off names (KP_Insert is the key of digit 0): asked for KP_0 it would tap
# Num Lock itself around the key.
num_lock on

{
    printf 'button zero,FF0000\r\n'
    printf '前進 ￥100 #1!,00FF00\r\n'
    printf '撤退 #2\r\n'
    printf '*ButtonT=2\r\n*ButtonY=2\r\n'
} >"$scratch/tavren.txt"
second='前進 ￥100 #1!'
third='撤退 #2'

log="$scratch/target.log"
start_target hotkey-target "$log"
start_tavren
pick_send_destination hotkey-target

focus_target() { xdotool windowactivate --sync "$TARGET_WINDOW"; }

# Monitoring is off: the key reaches only the target, as a digit in its line.
focus_target
xdotool key KP_Insert

# chk_Key, "キーボード監視": 1920, 1440, 1215 x 375 twips on the settings panel.
click_settings_panel $((1920 + 1215 / 2)) $((1440 + 375 / 2))

# The target's line now holds "0"; the next digit joins it, then the order the
# digit presses. A press made while monitoring was off must not surface now.
focus_target
xdotool key KP_End
line=$(line_of "$log" 1)
[ "$line" = "01$third" ] || fail "keypad 1 delivered '$line', expected '01$third'"

focus_target
xdotool key KP_Insert
line=$(line_of "$log" 2)
[ "$line" = "0$second" ] || fail "keypad 0 delivered '$line', expected '0$second'"

echo "PASS: keypad digits pressed their order buttons into the focused window"

#!/usr/bin/env bash
# An order button pressed with the mouse types its caption and Enter into the
# window picked as send destination: unchanged with the left button, with every
# "\" as "@" and every "￥" as "＠" with the right and the middle one.
source "$(dirname "$0")/lib.sh"

# Japanese text, shifted symbols (# ! : and the full-width ones) and both
# characters that the right button replaces. Told apart on screen by hue.
first='攻撃開始！'
second='合流 C:\城門 ￥500 #2!'
second_right='合流 C:@城門 ＠500 #2!'
{
    printf '%s,FF0000\r\n' "$first"
    printf '%s,00FF00\r\n' "$second"
    printf 'third,0000FF\r\n*ButtonT=2\r\n*ButtonY=2\r\n'
} >"$scratch/tavren.txt"
red=0 green=120

log="$scratch/target.log"
start_target delivery-target "$log"
start_tavren
pick_send_destination delivery-target
show_board
wait_until 10 eval 'centre_of_hue "$TAVREN_WINDOW" $red >/dev/null' || fail "the board did not show"

click_order_button $green 1
line=$(line_of "$log" 1)
[ "$line" = "$second" ] || fail "left click delivered '$line', expected '$second'"

click_order_button $green 3
line=$(line_of "$log" 2)
[ "$line" = "$second_right" ] || fail "right click delivered '$line', expected '$second_right'"

click_order_button $green 2
line=$(line_of "$log" 3)
[ "$line" = "$second_right" ] || fail "middle click delivered '$line', expected '$second_right'"

click_order_button $red 1
line=$(line_of "$log" 4)
[ "$line" = "$first" ] || fail "left click delivered '$line', expected '$first'"

echo "PASS: order buttons delivered their captions into the picked window"

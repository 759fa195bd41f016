#!/usr/bin/env bash
# Press after press, orders arrive whole in a window with a menu bar, as most
# IRC clients have. Nothing on the way presses Alt, which would open that menu
# and lose the order's first keys, or the whole order, to it.
source "$(dirname "$0")/lib.sh"

first='rally at the north gate'
second='合流 北門 #3'
presses=20
printf '%s,FF0000\r\n%s,00FF00\r\n' "$first" "$second" >"$scratch/tavren.txt"
red=0 green=120

log="$scratch/target.log"
start_target menu-target "$log" menu
start_tavren
pick_send_destination menu-target
show_board
wait_until 10 eval 'centre_of_hue "$TAVREN_WINDOW" $red >/dev/null' || fail "the board did not show"
# The buttons stay where they are: found once, clicked as fast as the orders arrive.
red_centre=$(centre_of_hue "$TAVREN_WINDOW" $red) || fail "no red button"
green_centre=$(centre_of_hue "$TAVREN_WINDOW" $green) || fail "no green button"

for n in $(seq "$presses"); do
    if ((n % 2)); then centre=$red_centre order=$first; else centre=$green_centre order=$second; fi
    # shellcheck disable=SC2086 # x and y
    xdotool mousemove --window "$TAVREN_WINDOW" $centre click 1
    line=$(line_of "$log" "$n")
    [ "$line" = "$order" ] || fail "press $n of $presses delivered '$line', expected '$order'"
done
if [ "$platform" = windows ]; then
    # The target logs every key its edit control is given: Alt is 18.
    ! grep -q '^down 18 ' "$log.target" || fail "an Alt reached the target"
fi
echo "PASS: $presses presses arrived whole in a window with a menu bar"

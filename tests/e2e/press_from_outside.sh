#!/usr/bin/env bash
# `tavren --press N` presses order button N of the Tavren already running, as
# a mouse press does, and ends once the press has: the caption arrives in the
# picked window. A button the board does not show, or no Tavren running: one
# line on standard error, exit status 1, nothing pressed and nothing started.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"

{
    printf 'first order,FF0000\r\n'
    printf '合流 C:\\城門 ￥500,00FF00\r\n'
    printf '*ButtonT=2\r\n*ButtonY=2\r\n'
} >"$scratch/tavren.txt"

log="$scratch/target.log"
start_target press-target "$log"
start_tavren
pick_send_destination press-target

press() { (cd "$scratch" && "${tavren_command[@]}" "$@") 2>"$scratch/press.err"; }

press --press 2 || fail "--press 2 failed: $(cat "$scratch/press.err")"
# The press has ended when the command does: the line is there already.
[ "$(committed_now "$log")" -ge 1 ] || fail "--press returned before its order arrived"
[ "$(line_of "$log" 1)" = '合流 C:\城門 ￥500' ] || fail "--press 2 delivered '$(line_of "$log" 1)'"

press --press 2 --right || fail "--press 2 --right failed: $(cat "$scratch/press.err")"
[ "$(line_of "$log" 2)" = '合流 C:@城門 ＠500' ] || fail "--right delivered '$(line_of "$log" 2)'"

press --press 1 || fail "--press 1 failed: $(cat "$scratch/press.err")"
[ "$(line_of "$log" 3)" = 'first order' ] || fail "--press 1 delivered '$(line_of "$log" 3)'"

# A 2 x 2 board shows buttons 1 to 4.
status=0
press --press 5 || status=$?
[ "$status" -eq 1 ] || fail "--press 5 on a board of 4 ended with $status"
[ "$(wc -l <"$scratch/press.err")" -eq 1 ] || fail "not one line: $(cat "$scratch/press.err")"
grep -q "button 5 is not on the board" "$scratch/press.err" || fail "said: $(cat "$scratch/press.err")"

close_tavren
status=0
press --press 1 || status=$?
[ "$status" -eq 1 ] || fail "--press with no Tavren running ended with $status"
grep -q "no Tavren is running" "$scratch/press.err" || fail "said: $(cat "$scratch/press.err")"
window_named '^Tavren' >/dev/null && fail "--press started a Tavren"
[ "$(lines_in "$log")" -eq 3 ] || fail "$(lines_in "$log") lines arrived, expected 3"
echo "PASS: --press pressed the running Tavren's buttons in order; refused what it could not press"

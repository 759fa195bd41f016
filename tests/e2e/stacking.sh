#!/usr/bin/env bash
# Keeping the main window above others: on a first run (no settings file, no
# always-on-top line) the window is above while "常に手前に表示" is unticked;
# each click on the box then sets or clears the window manager's above state at
# once, on the same window, without moving or resizing it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"

# A complete order file brings the settings panel to the front.
printf 'hello,FF0000\r\n' >"$scratch/tavren.txt"
start_tavren
window=$TAVREN_WINDOW
menu=$(main_menu_height "$window")
box=(120 1080 255) # chk_AllwaysonTop: left, top, height on the settings panel

above() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
not_above() { ! above; }
ticked() {
    import -window "$window" "$scratch/panel.png"
    is_marked "$scratch/panel.png" "$menu" "${box[@]}"
}
unticked() { ! ticked; }

above || fail "a first run does not keep the window above"
unticked || fail "the box is ticked on a first run"
place=$(client_rectangle "$window")

for want in ticked unticked ticked; do
    click_indicator "$window" "$menu" "${box[@]}"
    wait_until 10 "$want" || fail "the box is not $want after a click"
    if [ "$want" = ticked ]; then
        wait_until 10 above || fail "ticking the box did not keep the window above"
    else
        wait_until 10 not_above || fail "unticking the box left the window above"
    fi
    [ "$(client_rectangle "$window")" = "$place" ] ||
        fail "the window moved: $(client_rectangle "$window"), was $place"
    [ "$(xdotool search --onlyvisible --name '^Tavren' | head -1)" = "$window" ] ||
        fail "the main window was replaced"
done
echo "PASS: above on a first run; the box sets and clears it in place"

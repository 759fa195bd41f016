#!/usr/bin/env bash
# Closing the main window while a press waits for its window to come to the
# front ends tavren there: the settings are saved and not one keystroke
# follows, even when the window comes to the front right after the close.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"

ini=$settings_ini
log="$scratch/target.log"
printf 'hello,FF0000\r\n' >"$scratch/tavren.txt"
start_target close-target "$log"
start_tavren
pick_send_destination close-target

# The send box, "送信テスト": 960, 1800, 2295 x 270 twips on the settings panel.
click_settings_panel $((960 + 2295 / 2)) $((1800 + 270 / 2))
xdotool type --delay 20 "never sent"

# The destination is withdrawn: a press now waits for it, passing events on.
xdotool windowunmap "$TARGET_WINDOW"
target_gone() { ! window_named '^close-target$' >/dev/null; }
wait_until 10 target_gone || fail "the target did not go"

# Enter and the close box reach tavren in that order, the close while the
# press that Enter starts is waiting.
kill -STOP "$TAVREN_PID"
"$TAVREN_BUILD/tavren_enter_then_close" "$TAVREN_WINDOW" || fail "cannot send Enter and the close"
kill -CONT "$TAVREN_PID"
wait_until 20 test -f "$ini" || fail "closing the window saved no settings"

# The destination comes to the front again. A press that outlived the close
# would now type into it; held still while the window comes back, it cannot
# miss the moment.
kill -STOP "$TAVREN_PID" 2>/dev/null || true
xdotool windowmap "$TARGET_WINDOW"
wait_until 10 window_named '^close-target$' >/dev/null || fail "the target did not come back"
xdotool windowactivate --sync "$TARGET_WINDOW"
kill -CONT "$TAVREN_PID" 2>/dev/null || true
wait_until 20 program_ended || fail "tavren did not end when its window closed"

# The target's first line is what is typed now: whatever tavren had typed
# would have come first.
xdotool windowactivate --sync "$TARGET_WINDOW" type --delay 20 "marker"
xdotool key Return
line=$(line_of "$log" 1)
[ "$line" = "marker" ] || fail "a keystroke left tavren after its window closed: '$line'"
echo "PASS: no keystroke after the close; the settings were saved"

#!/usr/bin/env bash
# The nick window comes back where it was left: with "show the nick window"
# ticked in the settings file, the loader shows the window and then gives it
# its stored place, and the window's frame ends up there, not where the window
# manager would have put a new window; closing writes the same place back. The
# screen's top-left corner counts like any other place.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"

ini=$settings_ini
mkdir -p "$(dirname "$ini")"
# A complete order file brings the settings panel to the front.
printf 'hello,FF0000\r\n' >"$scratch/tavren.txt"

# Stored left and top in twips; 15 twips to a pixel.
for place in "6000 3000" "0 0" "9405 6000"; do
    read -r left top <<<"$place"
    # The main window is kept clear of the places the nick window is given.
    printf '[Option]\r\nchk_rename=1\r\n[Form]\r\ntop=9000\r\nleft=9000\r\n[nick]\r\ntop=%s\r\nleft=%s\r\n' \
        "$top" "$left" >"$ini"
    start_tavren
    nick=$(timeout 20 xdotool search --sync --onlyvisible --name '^nick$' | head -1) ||
        fail "the nick window did not appear"
    x=$((left / twips_per_pixel))
    y=$((top / twips_per_pixel))
    wait_until 10 frame_is_at "$nick" "$x" "$y" ||
        fail "stored at $x $y, the nick window's frame is at $(frame_position "$nick")"
    sleep 0.5 # a late placement by the window manager would show by now
    frame_is_at "$nick" "$x" "$y" ||
        fail "the nick window left $x $y for $(frame_position "$nick")"
    close_tavren
    [ "$(ini_value "$ini" nick left) $(ini_value "$ini" nick top)" = "$left $top" ] ||
        fail "restored at $left $top twips, written back as" \
            "$(ini_value "$ini" nick left) $(ini_value "$ini" nick top)"
done
echo "PASS: the nick window came back at each stored place, which was written back unchanged"

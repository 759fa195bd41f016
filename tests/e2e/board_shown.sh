#!/usr/bin/env bash
# The built program opens its main window with the release caption and shows
# exactly as many order buttons as the order file's grid asks for.
source "$(dirname "$0")/lib.sh"

# Nine buttons of nine distinct hues (40 degrees apart) on a 2 x 2 board. The
# last line's bad colour ends start-up early, which leaves the order board in
# front as designed.
colours=(FF0000 FFAA00 AAFF00 00FF00 00FFAA 00AAFF 0000FF AA00FF FF00AA)
hues=(0 40 80 120 160 200 240 280 320)
{
    for i in "${!colours[@]}"; do printf 'order %d,%s\r\n' "$i" "${colours[$i]}"; done
    printf '*ButtonT=2\r\n*ButtonY=2\r\nbad colour,\r\n'
} >"$scratch/tavren.txt"

start_tavren
window=$TAVREN_WINDOW
title=$(xdotool getwindowname "$window")
[ "$title" = "Tavren（汎用タイプ） Ver1.3.1" ] || fail "caption is '$title'"

shown=0
for hue in "${hues[@]}"; do
    n=$(pixels_of_hue "$window" "$hue")
    [ "$n" -gt 500 ] && shown=$((shown + 1))
done
[ "$shown" -eq 4 ] || fail "$shown order buttons shown, expected 4"
echo "PASS: caption and 4 order buttons shown"

#!/usr/bin/env bash
# The built program opens its main window with the release caption and shows
# exactly as many order buttons as the order file's grid asks for.
source "$(dirname "$0")/lib.sh"

# Nine buttons of nine distinct colours on a 2 x 2 board. The last line's bad
# colour ends start-up early, which leaves the order board in front as designed.
colours=(FF0000 00FF00 0000FF FFFF00 FF00FF 00FFFF 800000 008000 000080)
{
    for i in "${!colours[@]}"; do printf 'order %d,%s\r\n' "$i" "${colours[$i]}"; done
    printf '*ButtonT=2\r\n*ButtonY=2\r\nbad colour,\r\n'
} >"$scratch/tavren.txt"

window=$(start_tavren)
title=$(xdotool getwindowname "$window")
[ "$title" = "Tavren（汎用タイプ） Ver1.3.1" ] || fail "caption is '$title'"

shown=0
for c in "${colours[@]}"; do
    # The file writes RRGGBB with red first, as the screen does.
    n=$(pixels_of "$window" "#$c")
    [ "${n%.*}" -gt 500 ] && shown=$((shown + 1))
done
[ "$shown" -eq 4 ] || fail "$shown order buttons shown, expected 4"
echo "PASS: caption and 4 order buttons shown"

#!/usr/bin/env bash
# scripts/screenshot.sh (what scripts/run.sh runs without a display) pictures
# Tavren's window, not the whole screen, and says where the picture is. The
# window's class is the one the menu entry announces, so the
# desktop ties the running window to its entry.
source "$(dirname "$0")/lib.sh"
: "${TAVREN_SOURCE:?the source tree}"

shot="$scratch/shot.png"
mkdir -p "$scratch/work"
(cd "$scratch/work" && XDG_CONFIG_HOME="$scratch/config" \
    "$TAVREN_SOURCE/scripts/screenshot.sh" "$TAVREN" "$shot") >"$scratch/out" 2>&1 ||
    fail "screenshot.sh failed: $(cat "$scratch/out")"
grep -qxF "Screenshot of Tavren's window: $shot" "$scratch/out" ||
    fail "screenshot.sh did not say where the picture is: $(cat "$scratch/out")"
# A fresh settings directory gives the designed client area of 4935 x 4905
# twips (329 x 327 pixels at 96 DPI) below the menu bar.
read -r width height < <(identify -format '%w %h\n' "$shot")
[ "$width" -eq 329 ] || fail "the picture is $width pixels wide, not the window's 329"
[ "$height" -gt 327 ] && [ "$height" -lt 380 ] ||
    fail "the picture is $height pixels high, not the window's"

# The window's class against the menu entry's StartupWMClass.
(cd "$scratch/work" && XDG_CONFIG_HOME="$scratch/config" exec "$TAVREN") >/dev/null 2>&1 &
pid=$!
pids+=("$pid")
window=""
for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^Tavren' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    sleep 0.05
done
[ -n "$window" ] || fail "tavren showed no window"
class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"$/\1/p')
expected=$(sed -n 's/^StartupWMClass=//p' "$TAVREN_SOURCE/data/$app_id.desktop")
[ "$class" = "$expected" ] || fail "window class '$class', the menu entry expects '$expected'"
echo "PASS: a ${width}x${height} picture of the window; class $class"

#!/usr/bin/env bash
# Starts tavren.exe under Wine on the current display with the example order
# file, waits for its main window and writes a PNG screenshot of it (by default
# docs/screenshot-windows.png). Run it on a desktop:
#   scripts/with-desktop.sh scripts/screenshot-windows.sh [OUT.png]
# Needs the Windows build (scripts/build-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build="build-win"
out="${1:-docs/screenshot-windows.png}"
[ -f "$build/tavren.exe" ] || { echo "no $build/tavren.exe: run scripts/build-windows.sh first" >&2; exit 1; }
export WINEPREFIX="$PWD/$build/wineprefix"
# A fresh Wine prefix has no Japanese system font: link the UI fonts to the
# Japanese font the project installs, as a Japanese Windows has its own.
for face in Tahoma "Segoe UI"; do
    WINEDEBUG=-all "$build/wine-run.sh" reg add \
        'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null 2>&1
done
# The forms ask for "MS UI Gothic", the compact UI font of Japanese Windows they
# were designed in; the prefix maps it to the Japanese UI Gothic the project
# installs (fonts-horai-umefont), as the tests do, for this run only: the other
# tests expect the system's message font.
WINEDEBUG=-all "$build/wine-run.sh" reg add \
    'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "MS UI Gothic" /t REG_SZ /d "Ume UI Gothic" /f >/dev/null 2>&1
scratch=$(mktemp -d /tmp/tavren-winshot-XXXXXX)
cp examples/tavren.txt "$scratch/"
root="$PWD"
(cd "$scratch" && exec "$root/$build/wine-run.sh" "$root/$build/tavren.exe") >/dev/null 2>&1 &
pid=$!
forget_design_font() {
    WINEDEBUG=-all "$build/wine-run.sh" reg delete \
        'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "MS UI Gothic" /f >/dev/null 2>&1 || true
}
trap 'kill $pid 2>/dev/null || true; forget_design_font; wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
window=""
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name '^Tavren' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    sleep 0.05
done
[ -n "$window" ] || { echo "tavren.exe's window did not appear" >&2; exit 1; }
sleep 1 # let the first paint settle
import -window "$window" "$out"
echo "Screenshot of tavren.exe's window: $out"

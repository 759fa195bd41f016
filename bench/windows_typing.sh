#!/usr/bin/env bash
# Typing under Wine: tavren_win32_typing_bench.exe types 500 ASCII and 100
# Japanese characters with the Win32 keyboard service into win32_test_target.exe
# and prints characters per second and characters lost. Needs the Windows build
# (scripts/build-windows.sh) and a desktop (scripts/with-desktop.sh).
# Usage: bench/windows_typing.sh [ignored: the Linux build directory] [Windows build directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${2:-build-win}"
[ -f "$build/tavren_win32_typing_bench.exe" ] || { echo "no Windows build in $build: run scripts/build-windows.sh first" >&2; exit 1; }
export WINEPREFIX="$PWD/$build/wineprefix"
wineserver -p30
trap 'wineserver -k 2>/dev/null || true' EXIT
"$build/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
"$build/wine-run.sh" "$PWD/$build/tavren_win32_typing_bench.exe"

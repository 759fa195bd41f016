#!/usr/bin/env bash
# How long the IRC link holds its caller under Wine: tavren_win32_link_bench.exe
# opens the DDE conversation and hands over the start-up announcement and a nick
# command with tavren-link-monitor.exe answering, never answering, and absent.
# Needs the Windows build (scripts/build-windows.sh).
# Usage: bench/windows_link.sh [ignored: the Linux build directory] [Windows build directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${2:-build-win}"
[ -f "$build/tavren_win32_link_bench.exe" ] || { echo "no Windows build in $build: run scripts/build-windows.sh first" >&2; exit 1; }
export WINEPREFIX="$PWD/$build/wineprefix"
wineserver -p30
trap 'wineserver -k 2>/dev/null || true' EXIT
"$build/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
"$build/wine-run.sh" "$PWD/$build/tavren_win32_link_bench.exe"

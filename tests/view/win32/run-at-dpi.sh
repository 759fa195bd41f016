#!/usr/bin/env bash
# Runs a Windows program under Wine with the system DPI set to DPI: Wine reads
# it from the prefix's HKCU\Control Panel\Desktop\LogPixels when a program
# starts (measured: 144 there makes GetDpiForSystem() 144 for the next program,
# and 96 again once put back). A fresh prefix has no such value; whatever was
# there is put back however the program ends. Run while no other program opens
# windows in the prefix (ctest's RESOURCE_LOCK desktop).
# Usage: run-at-dpi.sh WINE_RUN DPI PROGRAM [ARGUMENT...]
set -euo pipefail
wine_run="$1" dpi="$2"
shift 2
key='HKCU\Control Panel\Desktop'
old=$("$wine_run" reg query "$key" /v LogPixels 2>/dev/null |
    sed -n 's/.*REG_DWORD[[:space:]]*0x\([0-9a-fA-F]*\).*/\1/p' | tr -d '\r' || true)
put_back() {
    if [ -n "$old" ]; then
        "$wine_run" reg add "$key" /v LogPixels /t REG_DWORD /d $((16#$old)) /f >/dev/null 2>&1 || true
    else
        "$wine_run" reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true
    fi
}
trap put_back EXIT
"$wine_run" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
"$wine_run" "$@"

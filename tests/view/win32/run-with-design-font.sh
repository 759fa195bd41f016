#!/usr/bin/env bash
# Runs a Windows program under Wine at a DPI (run-at-dpi.sh) with the forms'
# design font present: "MS UI Gothic", the compact UI font of Japanese Windows,
# is not in a Wine prefix, so the prefix maps it to the Japanese UI Gothic the
# project installs (fonts-horai-umefont) as a substitute font, for this program
# alone: the entry goes again however the program ends.
# Usage: run-with-design-font.sh WINE_RUN DPI PROGRAM [ARGUMENT...]
set -euo pipefail
wine_run="$1"
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
trap '"$wine_run" reg delete "$key" /v "MS UI Gothic" /f >/dev/null 2>&1 || true' EXIT
"$wine_run" reg add "$key" /v "MS UI Gothic" /t REG_SZ /d "Ume UI Gothic" /f >/dev/null
"$(dirname "$0")/run-at-dpi.sh" "$@"

#!/usr/bin/env bash
# Runs the Windows tests of build-win/ under Wine. Run it on a desktop
# (scripts/with-desktop.sh scripts/test-windows.sh): the tests open Wine windows.
# Extra arguments go to ctest (e.g. -R keyboard).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-win
export WINEPREFIX="$PWD/$build/wineprefix"
# One server for every test process instead of one per test; it is ended on the
# way out (and would end itself a minute after the last test).
wineserver -p60
trap 'wineserver -k 2>/dev/null || true' EXIT
ctest --test-dir "$build" --output-on-failure -j2 "$@"

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
# Wine's background processes (services, the desktop's explorer) start with the
# first program and keep its output open until the server ends: started here,
# with nowhere to write, they do not hold a test's output (and ctest) for a minute.
"$build/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
# Tests that need the desktop take its RESOURCE_LOCK, so only the others share the cores.
ctest --test-dir "$build" --output-on-failure --no-tests=error -j"$(nproc)" "$@"

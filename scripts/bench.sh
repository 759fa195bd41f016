#!/usr/bin/env bash
# Builds Tavren and runs every benchmark program (build/tavren_*_bench) on a
# private virtual desktop, printing their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
status=0
for bench in build/tavren_*_bench; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    scripts/with-desktop.sh "$bench" || status=1
done
exit $status

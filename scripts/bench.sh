#!/usr/bin/env bash
# Installs what is needed, builds Tavren and runs every benchmark program
# (build/tavren_*_bench), each on a fresh private virtual desktop, printing
# their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
status=0
for bench in build/tavren_*_bench; do
    [ -x "$bench" ] || continue
    # Needs a desktop with an input method: bench/input_method_bench.sh runs it.
    [ "$(basename "$bench")" = tavren_input_method_bench ] && continue
    echo "== $(basename "$bench")"
    scripts/with-desktop.sh "$bench" || status=1
    echo
done
for bench in bench/*.sh; do
    echo "== $(basename "$bench")"
    scripts/with-desktop.sh "$bench" build || status=1
    echo
done
exit $status

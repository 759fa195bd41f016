#!/usr/bin/env bash
# Builds Tavren and prints every benchmark's figures, run on a virtual desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/with-desktop.sh bash -c '
    for bench in build/tavren_*_bench; do
        [ -x "$bench" ] || continue
        echo "== $(basename "$bench")"
        "$bench"
        echo
    done'

#!/usr/bin/env bash
# Configures and builds Tavren into build/ (the program is build/tavren).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREN_WERROR=ON "$@" >/dev/null
cmake --build build

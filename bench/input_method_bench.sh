#!/usr/bin/env bash
# Typing behind fcitx5 and ibus with mozc, each on a desktop of its own run as an
# ordinary user (mozc refuses root). Usage: bench/input_method_bench.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
for method in fcitx5 ibus; do
    "$here/../tests/input_method/as_desktop_user.sh" \
        "$here/../tests/input_method/with_input_method.sh" "$method" \
        "$build/tavren_input_method_bench" 2>/dev/null
    echo
done

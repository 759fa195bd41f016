#!/usr/bin/env bash
# Cross-builds the Windows program and its tests into build-win/ with MinGW-w64
# (statically linked: no DLLs beside the system's), and boots the Wine prefix
# the tests run in (build-win/wineprefix) while the compiler works.
# Extra arguments go to cmake's configure step (e.g. -DCMAKE_CXX_COMPILER_LAUNCHER=ccache).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows

build=build-win
cmake -S . -B "$build" -G Ninja --toolchain cmake/toolchain-mingw64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREN_WERROR=ON "$@" >/dev/null

boot=""
if [ ! -f "$build/wineprefix/system.reg" ]; then
    # A first boot takes a while; it needs no display.
    (env -u DISPLAY WINEDEBUG=-all "$build/wine-run.sh" wineboot -i >"$build/wineboot.log" 2>&1 &&
        WINEPREFIX="$PWD/$build/wineprefix" wineserver -w) &
    boot=$!
fi
cmake --build "$build"
if [ -n "$boot" ]; then
    wait "$boot" || { cat "$build/wineboot.log"; echo "the Wine prefix did not boot" >&2; exit 1; }
fi

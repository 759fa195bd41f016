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

# The zip a Windows user unpacks: the programs without their debugging
# information, the Windows README and the example order file.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
if [ ! -f "$build/tavren.exe" ]; then
    echo "tavren.exe was not built (the Win32 view is missing): dist/tavren-$version-win64.zip not written" >&2
    exit 0
fi
OBJDUMP=x86_64-w64-mingw32-objdump scripts/check-windows-imports.sh \
    "$build/tavren.exe" "$build/tavren-link-monitor.exe" >/dev/null
stage="$build/zip"
rm -rf "$stage"
mkdir -p "$stage/examples" dist
for program in tavren.exe tavren-link-monitor.exe; do
    x86_64-w64-mingw32-strip -o "$stage/$program" "$build/$program"
done
cp data/windows/README.txt "$stage/README.txt"
cp examples/tavren.txt "$stage/examples/tavren.txt"
zip="$PWD/dist/tavren-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip tavren.exe tavren-link-monitor.exe README.txt examples/tavren.txt)
echo "$zip"

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
# information, the Windows READMEs (English and Japanese) and the example order
# file. A build without tavren.exe has nothing to ship: that is a failure.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
if [ ! -f "$build/tavren.exe" ]; then
    echo "tavren.exe was not built (the Win32 view is missing): no zip for Windows" >&2
    exit 1
fi
OBJDUMP=x86_64-w64-mingw32-objdump scripts/check-windows-imports.sh \
    "$build/tavren.exe" "$build/tavren-link-monitor.exe" >/dev/null
stage="$build/zip"
rm -rf "$stage"
mkdir -p "$stage" dist
strip_into_stage() {
    for program in "$@"; do
        x86_64-w64-mingw32-strip -o "$stage/$program" "$build/$program"
    done
}
strip_into_stage tavren.exe tavren-link-monitor.exe
zip="dist/tavren-$version-win64.zip"
rm -f "$zip"
scripts/package-windows-zip.py "$zip" \
    tavren.exe="$stage/tavren.exe" \
    tavren-link-monitor.exe="$stage/tavren-link-monitor.exe" \
    README.txt=data/windows/README.txt \
    お読みください.txt=data/windows/お読みください.txt \
    examples/tavren.txt=examples/tavren.txt
echo "$PWD/$zip"

# The zip a Windows tester runs on a real machine: every test program ctest runs
# under Wine, the programs they start from their own folder, and run-tests.cmd.
mapfile -t test_programs < <(scripts/windows-test-programs.sh "$build")
[ "${#test_programs[@]}" -gt 0 ] || { echo "ctest lists no Windows test programs" >&2; exit 1; }
strip_into_stage "${test_programs[@]}" win32_test_target.exe
entries=()
for program in "${test_programs[@]}" win32_test_target.exe tavren.exe tavren-link-monitor.exe; do
    entries+=("$program=$stage/$program")
done
tests_zip="dist/tavren-$version-win64-tests.zip"
rm -f "$tests_zip"
scripts/package-windows-zip.py "$tests_zip" "${entries[@]}" \
    run-tests.cmd=data/windows/run-tests.cmd \
    README-tests.txt=data/windows/README-tests.txt
echo "$PWD/$tests_zip"

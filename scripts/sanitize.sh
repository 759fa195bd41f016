#!/usr/bin/env bash
# Builds the headless tests once more with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitize/ and runs them: the behaviour
# tests through the fakes and the toolkit-free backends (settings file, POSIX
# files and signals), everything a build without Qt holds. Any finding (a bad
# access, a leak, undefined behaviour) ends that test with a failure, and so
# this script. Extra arguments go to cmake (e.g. a compiler launcher).
set -euo pipefail
cd "$(dirname "$0")/.."
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREN_WITH_QT=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" "$@" >/dev/null
cmake --build build-sanitize
# halt_on_error: the first finding ends the test; the stack names the fault.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-sanitize --output-on-failure --no-tests=error -j"$(nproc)"

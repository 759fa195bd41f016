#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (FUZZ_SECONDS, default 30). Fails when a target finds a crash or a leak, or
# when no target was built.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DTAVREN_FUZZ=ON -DTAVREN_TESTS=OFF \
    -DTAVREN_WITH_QT=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target tavren_fuzzers
ran=0
for target in build-fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    ran=$((ran + 1))
    name=$(basename "$target")
    corpus="build-fuzz/corpus-$name"
    mkdir -p "$corpus"
    seeds="fuzz/seeds/${name#fuzz_}"
    echo "fuzzing $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 "$corpus" \
        $( [ -d "$seeds" ] && echo "$seeds" ) 2>"build-fuzz/$name.log" \
        || { tail -40 "build-fuzz/$name.log"; echo "fuzz: $name found a fault"; exit 1; }
    tail -1 "build-fuzz/$name.log"
done
# A build that made no fuzzer has tested nothing: that is a failure, not a pass.
((ran)) || { echo "fuzz: no fuzz target was built in build-fuzz/" >&2; exit 1; }

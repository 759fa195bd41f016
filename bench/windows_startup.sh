#!/usr/bin/env bash
# Start-up of tavren.exe under Wine: from starting it to its main window shown
# on the desktop, median of 5 runs with the Wine server already up, beside a
# bare Win32 program (win32_test_target.exe, one window) started the same way,
# which is what Wine itself costs. Needs the Windows build (scripts/build-windows.sh).
# Usage: bench/windows_startup.sh [ignored: the Linux build directory] [Windows build directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${2:-build-win}"
[ -f "$build/win32_test_target.exe" ] || { echo "no Windows build in $build: run scripts/build-windows.sh first" >&2; exit 1; }
export WINEPREFIX="$PWD/$build/wineprefix"
scratch=$(mktemp -d /tmp/tavren-winbench-XXXXXX)
cp examples/tavren.txt "$scratch/"
wineserver -p30
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT

now_ms() { date +%s%3N; }

# Milliseconds from starting the command (in the scratch directory) until a
# visible window whose title matches PATTERN exists; the program is then ended.
time_to_window() {
    local pattern="$1"
    shift
    local start end pid
    start=$(now_ms)
    (cd "$scratch" && exec "$@") >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "the program ended before its window" >&2; return 1; }
        [ $(($(now_ms) - start)) -lt 30000 ] || { echo "no window in 30 s" >&2; return 1; }
        sleep 0.01
    done
    end=$(now_ms)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    # The next run starts once this one's window is gone.
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || break
        sleep 0.05
    done
    echo $((end - start))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run() {
    local label="$1" pattern="$2"
    shift 2
    local times=()
    for _ in 1 2 3 4 5; do times+=("$(time_to_window "$pattern" "$@")"); done
    printf '%-40s median %5d ms  (runs: %s)\n' "$label" "$(printf '%s\n' "${times[@]}" | median)" "${times[*]}"
}

wine_run="$PWD/$build/wine-run.sh"
if [ -f "$build/tavren.exe" ]; then
    run "tavren.exe start to its window" '^Tavren' "$wine_run" "$PWD/$build/tavren.exe"
else
    echo "no $build/tavren.exe (the Win32 view is not built)"
fi
run "win32_test_target.exe (bare Win32)" '^tavren-bench-peer$' "$wine_run" \
    "$PWD/$build/win32_test_target.exe" "$scratch/peer.log" "v:tavren-bench-peer"

# From start to the window and from the window shown to its first answer, on a
# quiet desktop and beside a window that reads no messages.
if [ -f "$build/tavren_win32_startup_bench.exe" ]; then
    "$wine_run" "$PWD/$build/tavren_win32_startup_bench.exe"
fi

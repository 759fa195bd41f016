#!/usr/bin/env bash
# --verbose and TAVREN_LOG=1 write the failures that start-up passes over to
# standard error, one line each: the IRC link without a peer and the order line
# with a bad colour that stops the load. Without either, nothing is written, and
# either way no window but the main window opens.
source "$(dirname "$0")/lib.sh"

printf 'first,FF0000\r\nbad colour,XYZ\r\nnever read\r\n' >"$scratch/tavren.txt"

# Starts tavren with ARGS (environment first, as for env), waits for its main
# window and leaves its standard error in $scratch/err.
# run_tavren [NAME=VALUE...] [ARGUMENT...]: tavren with that environment and those arguments.
run_tavren() {
    local environment=()
    while [ $# -gt 0 ] && [[ "$1" == *=* ]]; do environment+=("$1"); shift; done
    (cd "$scratch" && exec env "${environment[@]}" "${tavren_command[@]}" "$@") >"$scratch/out" 2>"$scratch/err" &
    TAVREN_PID=$!
    pids+=("$TAVREN_PID")
    wait_until 20 window_named '^Tavren' >/dev/null || fail "the main window did not appear"
}
reports() { grep '^tavren: ' "$scratch/err" || true; }
has_reports() { [ "$(reports | wc -l)" -ge "$1" ]; }
stop_tavren() {
    kill "$TAVREN_PID" 2>/dev/null || true
    wait "$TAVREN_PID" 2>/dev/null || true
    wait_until 10 sh -c '! xdotool search --onlyvisible --name "^Tavren" >/dev/null 2>&1' ||
        fail "the main window stayed"
}

check_two_lines() {
    local how="$1"
    wait_until 10 has_reports 2 || fail "$how: reports were: $(cat "$scratch/err")"
    [ "$(reports | wc -l)" -eq 2 ] || fail "$how: not two lines: $(reports)"
    reports | grep -q "^tavren: the IRC client's link did not open: no program serves CHOCOA|SCRIPTEXEC_SEND" ||
        fail "$how: no line for the link: $(reports)"
    reports | grep -qxF "tavren: the order file stopped loading: tavren.txt line 2: the colour after the comma is not RRGGBB in hexadecimal: bad colour,XYZ" ||
        fail "$how: no line for the order file: $(reports)"
    [ "$(xdotool search --onlyvisible --pid "$TAVREN_PID" 2>/dev/null | wc -l)" -eq 1 ] ||
        fail "$how: a window other than the main window opened"
}

run_tavren --verbose
check_two_lines --verbose
stop_tavren

run_tavren TAVREN_LOG=1
check_two_lines TAVREN_LOG=1
stop_tavren

run_tavren
# Start-up, which wrote the lines above, has run before the window shows, and
# standard error is not buffered.
[ -z "$(reports)" ] || fail "without --verbose tavren reported: $(reports)"

if [ "$platform" = linux ]; then
    # Under a Wayland session Tavren runs through XWayland and says what works there.
    stop_tavren
    run_tavren WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland --verbose
    wait_until 10 has_reports 3 || fail "Wayland: reports were: $(cat "$scratch/err")"
    reports | grep -q "^tavren: a Wayland session: orders reach X11 windows only" ||
        fail "no word of the Wayland session: $(reports)"
fi
echo "PASS: one line each for the link and the order file, only when asked"

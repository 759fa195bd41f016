# Shared helpers of the end-to-end tests: each test runs the built program in a
# scratch directory with a private settings directory, on the display that
# scripts/with-desktop.sh provides.
set -euo pipefail

: "${TAVREN:?path of the built tavren program}"
scratch=$(mktemp -d /tmp/tavren-e2e-XXXXXX)
export XDG_CONFIG_HOME="$scratch/config"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts tavren in the scratch directory and prints its main window's id.
start_tavren() {
    (cd "$scratch" && exec "$TAVREN") &
    pids+=($!)
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tavren' | head -1) ||
        fail "the main window did not appear"
    sleep 0.5
    echo "$id"
}

# Number of pixels of an exact colour (#RRGGBB) in a window's screenshot.
pixels_of() {
    local window="$1" colour="$2" shot="$scratch/shot.png"
    import -window "$window" "$shot"
    # Styles shade buttons slightly: accept colours within a small distance.
    convert "$shot" -fuzz 12% -fill black +opaque "$colour" -fill white -opaque "$colour" \
        -format '%[fx:mean*w*h]' info:
}

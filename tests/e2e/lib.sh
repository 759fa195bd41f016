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

# Starts tavren in the scratch directory and sets TAVREN_WINDOW to its main
# window's id. Its output goes to $scratch/tavren.log (not to a pipe that a
# command substitution would wait on).
start_tavren() {
    (cd "$scratch" && exec "$TAVREN") >"$scratch/tavren.log" 2>&1 &
    TAVREN_PID=$!
    pids+=("$TAVREN_PID")
    TAVREN_WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tavren' | head -1) ||
        fail "the main window did not appear"
    sleep 0.5
}

# Number of clearly coloured pixels of a hue (degrees) in a window's screenshot.
# Styles shade buttons (gradients, lighter faces, darker outlines), which keeps
# the hue while changing the exact colour, so buttons are told apart by hue.
pixels_of_hue() {
    local window="$1" hue="$2" shot="$scratch/shot.png"
    import -window "$window" "$shot"
    convert "$shot" -depth 8 txt:- | awk -v want="$hue" '
        NR > 1 {
            split($2, c, /[(),]/); r = c[2] / 255; g = c[3] / 255; b = c[4] / 255
            max = r; if (g > max) max = g; if (b > max) max = b
            min = r; if (g < min) min = g; if (b < min) min = b
            d = max - min
            if (max == 0 || d / max < 0.3) next
            if (max == r) h = 60 * ((g - b) / d); else if (max == g) h = 60 * ((b - r) / d + 2); else h = 60 * ((r - g) / d + 4)
            if (h < 0) h += 360
            diff = h - want; if (diff < 0) diff = -diff; if (diff > 180) diff = 360 - diff
            if (diff <= 8) n++
        }
        END { print n + 0 }'
}

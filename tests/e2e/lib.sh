# Shared helpers of the end-to-end tests: each test runs the built program in a
# scratch directory with a private settings file, on the display that
# scripts/with-desktop.sh provides.
#
# The same tests drive both programs. TAVREN_PLATFORM=windows runs tavren.exe
# (TAVREN) under Wine (TAVREN_WINE runs a Windows program in the Windows
# build's prefix; TAVREN_WIN_BUILD holds that build's test programs); otherwise
# TAVREN is the Linux program. TAVREN_BUILD is the Linux build either way: the
# tests' own hands on the desktop (keys, Num Lock, the session's end) are X
# programs.
set -euo pipefail

: "${TAVREN:?path of the built tavren program}"
platform=${TAVREN_PLATFORM:-linux}
scratch=$(mktemp -d /tmp/tavren-e2e-XXXXXX)
export XDG_CONFIG_HOME="$scratch/config"
pids=()
if [ "$platform" = windows ]; then
    : "${TAVREN_WINE:?wine-run.sh of the Windows build}" "${TAVREN_WIN_BUILD:?the Windows build}"
    tavren_command=("$TAVREN_WINE" "$TAVREN")
    # Tavren for Windows keeps its settings in the prefix's %APPDATA%: a file
    # there is set aside for the test and put back after it.
    eval "$(grep '^export WINEPREFIX=' "$TAVREN_WINE")"
    settings_ini="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Tavren/QVRL2.ini"
    [ -f "$settings_ini" ] && mv "$settings_ini" "$scratch/QVRL2.ini.aside"
else
    tavren_command=("$TAVREN")
    settings_ini="$XDG_CONFIG_HOME/tavren/QVRL2.ini"
fi
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if [ "$platform" = windows ]; then
        rm -f "$settings_ini"
        [ -f "$scratch/QVRL2.ini.aside" ] && mv "$scratch/QVRL2.ini.aside" "$settings_ini"
    fi
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
    (cd "$scratch" && exec "${tavren_command[@]}") >"$scratch/tavren.log" 2>&1 &
    TAVREN_PID=$!
    pids+=("$TAVREN_PID")
    wait_until 20 window_named '^Tavren' >/dev/null || fail "the main window did not appear"
    TAVREN_WINDOW=$(window_named '^Tavren')
    sleep 0.5
}

# The pixels (one "x y" a line) of a screenshot that are clearly of a hue, in
# degrees. Styles shade buttons (gradients, lighter faces, darker outlines),
# which keeps the hue while changing the exact colour, so buttons are told
# apart by hue.
hue_pixels() {
    convert "$1" -depth 8 txt:- | awk -v want="$2" '
        NR > 1 {
            split($1, p, /[,:]/)
            split($2, c, /[(),]/); r = c[2] / 255; g = c[3] / 255; b = c[4] / 255
            max = r; if (g > max) max = g; if (b > max) max = b
            min = r; if (g < min) min = g; if (b < min) min = b
            d = max - min
            if (max == 0 || d / max < 0.3) next
            if (max == r) h = 60 * ((g - b) / d); else if (max == g) h = 60 * ((b - r) / d + 2); else h = 60 * ((r - g) / d + 4)
            if (h < 0) h += 360
            diff = h - want; if (diff < 0) diff = -diff; if (diff > 180) diff = 360 - diff
            if (diff <= 8) print p[1], p[2]
        }'
}

# Number of pixels of a hue (degrees) in a window's screenshot.
pixels_of_hue() {
    local window="$1" hue="$2" shot="$scratch/shot.png"
    import -window "$window" "$shot"
    hue_pixels "$shot" "$hue" | wc -l
}

# --- Orders delivered into another program --------------------------------

# Waits (bounded, polling) until a command succeeds.
wait_until() {
    local seconds="$1"
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Prints the id of a visible window whose title matches the pattern; fails when
# there is none. (xdotool search --sync gives up with an X error when a window
# closes during its walk over the tree, as other tests' windows do.)
window_named() {
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$id" ] && echo "$id"
}

# Starts the stand-in for the IRC or game client (a line edit that logs each line
# committed with Enter to LOG) titled TITLE; sets TARGET_WINDOW. Start it before
# tavren: the send destination list holds the windows open at start-up. With
# "menu" as a third argument the Windows target's window has a menu bar, as
# most IRC clients' have (the Linux target's has none).
start_target() {
    local title="$1" log="$2" kind=v
    [ "${3:-}" = menu ] && kind=m
    if [ "$platform" = windows ]; then
        # The Windows target logs each character it receives; the lines it
        # committed with Enter are gathered from that into LOG.
        touch "$log.target"
        "$TAVREN_WINE" "$TAVREN_WIN_BUILD/win32_test_target.exe" "$log.target" "$kind:$title" \
            >"$scratch/target.out" 2>&1 &
        pids+=($!)
        python3 "$(dirname "${BASH_SOURCE[0]}")/committed_lines.py" "$log.target" "$log" &
        pids+=($!)
    else
        "${TAVREN_TEST_TARGET:-$TAVREN_BUILD/tavren_test_target}" "$log" "$title" \
            >"$scratch/target.out" 2>&1 &
        pids+=($!)
    fi
    wait_until 20 window_named "^$title\$" >/dev/null || fail "the test target did not appear"
    TARGET_WINDOW=$(window_named "^$title\$")
}

# Lines in LOG (0 if it does not exist yet).
lines_in() { if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi; }
# Lines the target has committed by now: on Windows counted in the target's
# own log, which the gathered LOG follows a moment later.
committed_now() {
    if [ "$platform" = windows ]; then
        grep -c '^char D$' "$1.target" || true
    else
        lines_in "$1"
    fi
}
has_lines() { [ "$(lines_in "$1")" -ge "$2" ]; }

# Waits until LOG holds N lines and prints line N.
line_of() {
    local log="$1" n="$2"
    wait_until 20 has_lines "$log" "$n" || fail "line $n never reached $log"
    sed -n "${n}p" "$log"
}

# Controls are placed in twips, 15 to a pixel at the desktop's 96 DPI. A fresh
# settings directory leaves the main window's client area at its designed
# 4935 x 4905 twips, so whatever the window has above it is the menu bar.
twips_per_pixel=15
menu_bar_height() {
    local WINDOW X Y WIDTH HEIGHT SCREEN height
    if [ "$platform" = windows ]; then
        height=$(win32_client_top "$TAVREN_WINDOW")
    else
        eval "$(xdotool getwindowgeometry --shell "$TAVREN_WINDOW")"
        height=$((HEIGHT - 4905 / twips_per_pixel))
    fi
    [ "$height" -ge 10 ] && [ "$height" -le 50 ] || fail "menu bar of $height pixels"
    echo "$height"
}

# Where Windows placed the window Wine shows as X window WINDOW:
# "frame LEFT TOP client LEFT TOP WIDTH HEIGHT" in screen pixels. Wine's X
# window holds the menu bar and the client area; the frame is Windows' own,
# a few pixels wider than the window manager's.
win32_places() {
    "$TAVREN_WINE" "$TAVREN_WIN_BUILD/win32_window_places.exe" "$(xdotool getwindowname "$1")"
}
# Pixels between the top of X window WINDOW and its client area: the menu bar.
win32_client_top() {
    local places top
    places=$(win32_places "$1") || fail "Windows knows no window named $(xdotool getwindowname "$1")"
    top=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/ { print $NF }')
    echo $(($(echo "$places" | cut -d' ' -f6) - top))
}

# Clicks mouse button BUTTON at a point (twips) of the settings panel, which fills
# the client area below the menu bar.
click_settings_panel() {
    local x="$1" y="$2" button="${3:-1}" menu
    menu=$(menu_bar_height)
    xdotool mousemove --window "$TAVREN_WINDOW" $((x / twips_per_pixel)) \
        $((menu + y / twips_per_pixel)) click "$button"
}

visible_windows_of_tavren() {
    { xdotool search --onlyvisible --pid "$TAVREN_PID" 2>/dev/null || true; } | wc -l
}
more_windows_than() { [ "$(visible_windows_of_tavren)" -gt "$1" ]; }
at_most_windows() { [ "$(visible_windows_of_tavren)" -le "$1" ]; }

# Picks the window titled TITLE in the send destination list "送信先" (combo_UO2,
# 720, 0, 2535 x 300 twips): opens the list with its arrow, finds the entry by
# typing its title (the open list searches by first letters) and takes it.
pick_send_destination() {
    local title="$1" before
    before=$(visible_windows_of_tavren)
    click_settings_panel $((720 + 2535 - 8 * twips_per_pixel)) 150
    wait_until 10 more_windows_than "$before" || fail "the send destination list did not open"
    xdotool type --delay 30 "$title"
    xdotool key Return
    wait_until 10 at_most_windows "$before" || fail "the send destination list did not close"
}

# Shows the order board with the menu's "指揮" (its second visible entry).
show_board() {
    xdotool mousemove --window "$TAVREN_WINDOW" 55 $(($(menu_bar_height) / 2)) click 1
}

# Centre (x y, window pixels) of the pixels of a hue, as pixels_of_hue counts
# them; fails when there are none.
centre_of_hue() {
    local window="$1" hue="$2" shot="$scratch/centre.png" centre
    import -window "$window" "$shot"
    centre=$(hue_pixels "$shot" "$hue" |
        awk '{ n++; sx += $1; sy += $2 } END { if (n > 500) printf "%d %d\n", sx / n, sy / n }')
    [ -n "$centre" ] || return 1
    echo "$centre"
}

# Presses the order button of a hue with mouse button BUTTON (1 left, 3 right).
click_order_button() {
    local hue="$1" button="$2" centre
    centre=$(centre_of_hue "$TAVREN_WINDOW" "$hue") || fail "no order button of hue $hue shown"
    # shellcheck disable=SC2086 # x and y
    xdotool mousemove --window "$TAVREN_WINDOW" $centre click "$button"
}

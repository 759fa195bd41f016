# Helpers of the end-to-end tests that drive tavren's own windows: waiting,
# clicking controls by their designed place, reading check marks off the
# screen, the IRC link's monitor and closing the main window. Sourced after
# lib.sh (not a test itself: ctest runs only *.sh).

# wait_until comes from lib.sh.

# Controls are placed in twips, 15 to a pixel at the desktop's 96 DPI.
twips_per_pixel=15

# Height in pixels of the menu bar of the main window, whose client area below
# it is CLIENT_TWIPS high (the designed 4905 unless a test resized it).
main_menu_height() {
    local window="$1" client_twips="${2:-4905}" WINDOW X Y WIDTH HEIGHT SCREEN height
    if [ "$platform" = windows ]; then
        height=$(win32_client_top "$window")
    else
        eval "$(xdotool getwindowgeometry --shell "$window")"
        height=$((HEIGHT - client_twips / twips_per_pixel))
    fi
    [ "$height" -ge 10 ] && [ "$height" -le 50 ] || fail "menu bar of $height pixels"
    echo "$height"
}

# Clicks the centre of a control placed at LEFT, TOP, WIDTH x HEIGHT twips in a
# window's client area that starts OFFSET pixels below the window's top.
click_control() {
    local window="$1" offset="$2" left="$3" top="$4" width="$5" height="$6"
    xdotool mousemove --window "$window" $(((left + width / 2) / twips_per_pixel)) \
        $((offset + (top + height / 2) / twips_per_pixel)) click 1
}

# Clicks the box or circle at the left end of a check box or option button.
click_indicator() {
    local window="$1" offset="$2" left="$3" top="$4" height="$5"
    xdotool mousemove --window "$window" $((left / twips_per_pixel + 7)) \
        $((offset + (top + height / 2) / twips_per_pixel)) click 1
}

# Dark pixels in the box or circle at the left end of a check box or option
# button, in a screenshot: a tick or a dot adds a good many, an empty box none.
indicator_ink() {
    local shot="$1" offset="$2" left="$3" top="$4" height="$5" x y
    x=$((left / twips_per_pixel))
    y=$((offset + (top + height / 2) / twips_per_pixel - 7))
    if [ "$platform" = windows ]; then
        # Wine draws a check box and its tick in blue, an option button's dot
        # dark: the ink is the coloured or dark pixels inside the edge.
        convert "$shot" -crop "9x8+$((x + 2))+$((y + 2))" +repage \
            \( -clone 0 -colorspace gray -threshold 40% -negate \) \
            \( -clone 0 -colorspace HSB -channel G -separate +channel -threshold 25% \) \
            -delete 0 -compose lighten -composite -format '%[fx:round(mean*w*h)]' info:
        return
    fi
    convert "$shot" -crop "15x14+$x+$y" -colorspace gray -threshold 40% -negate \
        -format '%[fx:round(mean*w*h)]' info:
}
is_marked() { [ "$(indicator_ink "$@")" -ge 8 ]; }

# Rows and columns of the grid of buttons of a hue (degrees) in a screenshot:
# the runs of pixel rows and of pixel columns that cross such buttons.
grid_of_hue() {
    local shot="$1" hue="$2"
    hue_pixels "$shot" "$hue" | awk '
        { xs[$1]++; ys[$2]++; if ($1 > mx) mx = $1; if ($2 > my) my = $2 }
        function runs(a, last,   i, n, on) {
            for (i = 0; i <= last; i++) {
                if (a[i] >= 10 && !on) { n++; on = 1 } else if (a[i] < 10) on = 0
            }
            return n + 0
        }
        END { print runs(ys, my), runs(xs, mx) }'
}

# "X Y WIDTH HEIGHT" of a window's client area on the screen.
client_rectangle() {
    if [ "$platform" = windows ]; then
        win32_places "$1" | cut -d' ' -f5-8
        return
    fi
    xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { print x, y, w, h }'
}

# Starts tavren-link-monitor, which serves the IRC client's end of the link (on
# the session bus, or over DDE on Windows) and logs every command it receives to $scratch/monitor.log.
start_link_monitor() {
    local ready=serving
    if [ "$platform" = windows ]; then
        # The DDE server an ANSI IRC client would be; it says "ready".
        "$TAVREN_WINE" "$TAVREN_WIN_BUILD/tavren-link-monitor.exe" \
            >"$scratch/monitor.log" 2>"$scratch/monitor.err" &
        ready=ready
    else
        "$TAVREN_BUILD/tavren-link-monitor" >"$scratch/monitor.log" 2>"$scratch/monitor.err" &
    fi
    pids+=($!)
    # It says so on standard error once it owns the name.
    wait_until 20 grep -q "$ready" "$scratch/monitor.err" ||
        fail "the link monitor did not start: $(cat "$scratch/monitor.err")"
}

lines_of() { if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi; }
has_at_least_lines() { [ "$(lines_of "$1")" -ge "$2" ]; }

# Closes the main window as a user does (Alt+F4 to the window manager) and waits
# until the program has ended.
close_tavren() {
    xdotool windowactivate --sync "$TAVREN_WINDOW" key alt+F4
    wait_until 20 program_ended || fail "tavren did not end when its window closed"
}
program_ended() { ! kill -0 "$TAVREN_PID" 2>/dev/null; }

# "X Y" of the top-left corner of a window's frame: its client area less the
# decoration the window manager announces (_NET_FRAME_EXTENTS: left, right,
# top, bottom). What a form's left and top mean.
frame_position() {
    local x y width height left right top bottom
    if [ "$platform" = windows ]; then
        win32_places "$1" | cut -d' ' -f2-3
        return
    fi
    read -r x y width height <<<"$(client_rectangle "$1")"
    read -r left right top bottom <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS |
        sed -n 's/.*= *//; s/,//gp')"
    [ -n "$bottom" ] || return 1 # not framed (yet)
    echo $((x - left)) $((y - top))
}

# Whether a window's frame is at X Y (in pixels) on the screen.
frame_is_at() {
    [ "$(frame_position "$1")" = "$2 $3" ]
}

# The value of KEY in SECTION of the settings file INI.
ini_value() {
    local ini="$1" section="$2" key="$3"
    tr -d '\r' <"$ini" | awk -F= -v s="[$section]" -v k="$key" '
        /^\[/ { in_s = ($0 == s); next }
        in_s && $1 == k { print $2 }'
}

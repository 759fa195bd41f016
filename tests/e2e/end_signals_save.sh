#!/usr/bin/env bash
# Ending tavren from outside runs the same shut-down as closing its window:
# after `kill` (SIGTERM), a hang-up (SIGHUP, as when the session ends) or
# Ctrl+C (SIGINT) the settings file holds what the user chose.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"

ini=$settings_ini
# Row option k of the group in Frame2 (3360, 0): left, top, height in twips.
row_option() { echo $((3360 + 120)) $((120 + 200 * ($1 - 2))) 180; }
printf 'hello,FF0000\r\n' >"$scratch/tavren.txt"

# A job that a script puts in the background starts with SIGINT ignored, and
# tavren rightly leaves an ignored signal alone; a terminal's Ctrl+C reaches a
# program that has it at its default.
start_tavren_as_from_a_terminal() {
    (cd "$scratch" && exec env --default-signal=INT,TERM,HUP "$TAVREN") >"$scratch/tavren.log" 2>&1 &
    TAVREN_PID=$!
    pids+=("$TAVREN_PID")
    wait_until 20 window_named '^Tavren' >/dev/null || fail "the main window did not appear"
    TAVREN_WINDOW=$(window_named '^Tavren')
}

rows=5
for signal in TERM HUP INT; do
    rm -f "$ini"
    start_tavren_as_from_a_terminal
    menu=$(main_menu_height "$TAVREN_WINDOW")
    chosen() {
        import -window "$TAVREN_WINDOW" "$scratch/chosen.png"
        # shellcheck disable=SC2046 # left top height
        is_marked "$scratch/chosen.png" "$menu" $(row_option "$rows")
    }
    # shellcheck disable=SC2046
    click_indicator "$TAVREN_WINDOW" "$menu" $(row_option "$rows")
    wait_until 10 chosen || fail "SIG$signal: the click on row option $rows did not take"

    kill -s "$signal" "$TAVREN_PID"
    wait_until 20 program_ended || fail "SIG$signal did not end tavren"
    [ -f "$ini" ] || fail "SIG$signal ended tavren without saving the settings"
    got=$(ini_value "$ini" Option ButtonT)
    [ "$got" = "$rows" ] || fail "SIG$signal: ButtonT is '$got', expected $rows"
    [ "$(ini_value "$ini" Option ButtonSU)" = $((rows * 2 - 1)) ] || fail "SIG$signal: partial save"
    rows=$((rows + 1))
done
echo "PASS: SIGTERM, SIGHUP and SIGINT each saved the settings before tavren ended"

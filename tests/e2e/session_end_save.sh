#!/usr/bin/env bash
# The desktop session ending ends tavren as closing its window does, settings
# saved. On Linux: when the session manager asks its clients to save for the
# logout, and when it tells them to die without asking first. On Windows: the
# log-off (WM_QUERYENDSESSION, then WM_ENDSESSION), which Wine's end of the
# session sends. The nick window is open: it refuses to close (it only hides),
# which must not keep tavren running.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"

ini=$settings_ini
row_option() { echo $((3360 + 120)) $((120 + 200 * ($1 - 2))) 180; }
printf 'hello,FF0000\r\n*nick=on\r\n' >"$scratch/tavren.txt"

# Starts tavren as a member of the session ending in MODE.
start_session_member() {
    local mode="$1"
    if [ "$platform" = windows ]; then
        start_tavren
        return
    fi
    rm -f "$scratch/sm.address"
    "$TAVREN_BUILD/tavren_session_manager" "$mode" "$scratch/sm.address" >"$scratch/sm.log" 2>&1 &
    manager=$!
    pids+=("$manager")
    wait_until 10 test -s "$scratch/sm.address" || fail "the session manager did not start"
    SESSION_MANAGER=$(cat "$scratch/sm.address")
    export SESSION_MANAGER
    start_tavren
    unset SESSION_MANAGER
    wait_until 10 grep -q registered "$scratch/sm.log" || fail "tavren did not join the session"
}

# The user logs out.
end_session() {
    local mode="$1"
    if [ "$platform" = windows ]; then
        "$TAVREN_WINE" wineboot --end-session
        return
    fi
    kill -USR1 "$manager"
}

session_closed() {
    [ "$platform" = windows ] || wait_until 10 grep -q closed "$scratch/sm.log"
}

modes=(save die)
[ "$platform" = windows ] && modes=(log-off)
rows=5
for mode in "${modes[@]}"; do
    rm -f "$ini"
    start_session_member "$mode"

    menu=$(main_menu_height "$TAVREN_WINDOW")
    chosen() {
        import -window "$TAVREN_WINDOW" "$scratch/chosen.png"
        # shellcheck disable=SC2046 # left top height
        is_marked "$scratch/chosen.png" "$menu" $(row_option "$rows")
    }
    # shellcheck disable=SC2046
    click_indicator "$TAVREN_WINDOW" "$menu" $(row_option "$rows")
    wait_until 10 chosen || fail "$mode: the click on row option $rows did not take"

    end_session "$mode"
    wait_until 20 program_ended || fail "$mode: the session ended and tavren did not"
    [ -f "$ini" ] || fail "$mode: the session ended without tavren saving its settings"
    got=$(ini_value "$ini" Option ButtonT)
    [ "$got" = "$rows" ] || fail "$mode: ButtonT is '$got', expected $rows"
    session_closed || fail "$mode: tavren left the session unclosed"
    rows=$((rows + 1))
done
echo "PASS: the session's end saved the settings (${modes[*]})"

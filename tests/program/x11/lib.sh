# Shared helpers of the tests of the installed program: a scratch directory
# removed at the end, and the checks of an installed tree that `cmake --install`
# and the Debian package must both pass.
set -euo pipefail

: "${TAVREN:?path of the built tavren program}"
: "${TAVREN_BUILD:?the build directory}"
scratch=$(mktemp -d /tmp/tavren-program-XXXXXX)
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

app_id=org.tavren.Tavren

# The desktop files under PREFIX (…/usr) are valid and fit together: the menu
# entry names an installed program and an installed icon, the metainfo launches
# that entry, and the icons have the sizes their directories promise.
check_installed_tree() {
    local prefix="$1" entry exec icon size
    entry="$prefix/share/applications/$app_id.desktop"
    [ -f "$entry" ] || fail "no desktop entry at $entry"
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
    grep -qx 'Categories=Utility;' "$entry" || fail "the entry is not in the Utility category"
    grep -q '^Name\[ja\]=' "$entry" || fail "the entry has no Japanese name"
    exec=$(sed -n 's/^Exec=//p' "$entry")
    [ "$exec" = tavren ] || fail "Exec is '$exec', not the program without file arguments"
    [ -x "$prefix/bin/$exec" ] || fail "Exec names $exec, which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ "$icon" = "$app_id" ] || fail "Icon is '$icon'"
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon"
    for size in 48 128 256; do
        png="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
        [ -f "$png" ] || fail "no ${size}x${size} icon"
        [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] ||
            fail "$png is $(identify -format '%wx%h' "$png")"
    done

    local metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
    [ -f "$metainfo" ] || fail "no metainfo at $metainfo"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch the desktop entry"
    [ "$(grep -c '<screenshot[ >]' "$metainfo")" -ge 2 ] || fail "the metainfo lacks screenshots"
    grep -q '<release version="1.3.1"' "$metainfo" || fail "the metainfo's release is not 1.3.1"

    # Where Debian's irssi finds system scripts (/script load tavren).
    local irssi_script="$prefix/share/irssi/scripts/tavren.pl"
    [ -f "$irssi_script" ] || fail "no irssi script at $irssi_script"
    perl -c "$irssi_script" >/dev/null 2>&1 || fail "perl rejects $irssi_script: $(perl -c "$irssi_script" 2>&1)"
}

# Every session-bus service file under PREFIX starts a program that is installed
# there: its Exec names the program's place on the machine, which is ROOT/ less
# the scratch root it was unpacked into (empty for `cmake --install`).
check_bus_services() {
    local prefix="$1" root="${2:-}" service program found=0
    for service in "$prefix"/share/dbus-1/services/*.service; do
        [ -f "$service" ] || continue
        found=1
        program=$(sed -n 's/^Exec=//p' "$service")
        program=${program%% *}
        [ -x "$root$program" ] || fail "$(basename "$service") starts $program, which is not installed"
        case "$program" in
        "${prefix#"$root"}"/bin/*) ;;
        *) fail "$(basename "$service") starts $program, outside ${prefix#"$root"}/bin" ;;
        esac
    done
    # The IRC bridge is started by the bus: an install without its file has lost it.
    ((found)) || fail "no session-bus service file under $prefix/share/dbus-1/services"
}

# Every program the build makes for users (TAVREN_PROGRAMS: tavren and
# tavren-*, unlike the tavren_* test programs) is installed under PREFIX/bin,
# and none of the installed programs looks for libraries in the build tree.
check_installed_programs() {
    local prefix="$1" program name
    : "${TAVREN_PROGRAMS:?the programs the build makes for users}"
    [[ " $TAVREN_PROGRAMS " == *" tavren-link-monitor "* ]] ||
        fail "the build's programs are '$TAVREN_PROGRAMS'"
    for name in $TAVREN_PROGRAMS; do
        [ -x "$prefix/bin/$name" ] || fail "$name is built but not installed"
    done
    for program in "$prefix"/bin/*; do
        if readelf -d "$program" | grep -E 'RPATH|RUNPATH' | grep -qF "$TAVREN_BUILD"; then
            fail "$(basename "$program") keeps a library path into the build tree"
        fi
    done
}

#!/usr/bin/env bash
# The Debian package: named by version and architecture, its dependencies
# computed from the linked libraries, its files those of `cmake --install`
# under /usr; installed into a scratch root, its tavren starts and shows its
# main window on the virtual desktop.
source "$(dirname "$0")/lib.sh"
: "${TAVREN_SOURCE:?the source tree}"

deb=$("$TAVREN_SOURCE/scripts/package.sh" --from "$TAVREN_BUILD" "$scratch/dist") ||
    fail "scripts/package.sh failed"
[ "$(basename "$deb")" = "tavren_1.3.1_$(dpkg --print-architecture).deb" ] ||
    fail "the package is called $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = tavren ] || fail "package name $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = 1.3.1 ] || fail "version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
packages=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 libx11-6 \
    libxtst6 libxi6; do
    grep -qxF "$library" <<<"$packages" || fail "Depends lacks $library: $depends"
done
# Each dependency is a package this machine has (the tests run on its libraries).
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        fail "Depends names $package, which is not installed here"
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
check_installed_programs "$root/usr"
check_installed_tree "$root/usr"
check_bus_services "$root/usr" "$root"
unexpected=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '^\./usr/' || true)
[ -z "$unexpected" ] || fail "files outside /usr: $unexpected"

[ "$("$root/usr/bin/tavren" --version)" = "tavren 1.3.1" ] || fail "the installed tavren's version"

# Started as the menu starts it: by name, from the installed bin/, in the home directory.
home="$scratch/home"
mkdir -p "$home"
(cd "$home" && HOME="$home" XDG_CONFIG_HOME="$home/.config" PATH="$root/usr/bin:$PATH" \
    exec tavren) >"$scratch/tavren.log" 2>&1 &
pid=$!
pids+=("$pid")
window=""
for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^Tavren' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the installed tavren ended: $(cat "$scratch/tavren.log")"
    sleep 0.05
done
[ -n "$window" ] || fail "the installed tavren showed no window"
[ "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$root/usr/bin/tavren")" ] ||
    fail "the running tavren is $(readlink -f "/proc/$pid/exe")"
title=$(xdotool getwindowname "$window")
[ "$title" = "Tavren（汎用タイプ） Ver1.3.1" ] || fail "the installed tavren's caption is '$title'"
echo "PASS: $(basename "$deb") builds, installs and starts"

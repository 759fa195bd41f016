#!/usr/bin/env bash
# Runs a command on a private virtual desktop as an ordinary user: mozc's
# server refuses to run as root, and input methods are a desktop user's
# programs. As root, the user "tavren-tests" is made when missing and the
# command runs as that user; as anyone else it runs as they are.
# Usage: as_desktop_user.sh COMMAND [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
desktop="$here/../../scripts/with-desktop.sh"
if [ "$(id -u)" -ne 0 ]; then
    exec "$desktop" "$@"
fi
user=tavren-tests
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/sh "$user"
# A fresh home for every run: no input method settings are left from the last.
scratch=$(mktemp -d)
chmod 755 "$scratch"
chown "$user" "$scratch"
# This run's processes: other runs (other checkouts on a shared machine) may be
# under way as the same user, each with a home of its own, which every process
# started from the command inherits.
ours() {
    local pid
    for pid in $(pgrep -u "$user"); do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "HOME=$scratch" && echo "$pid"
    done
    return 0
}
cleanup() {
    # What the command left running (an input method writing its files as it
    # ends) goes first, then its home.
    local left
    left=$(ours)
    [ -z "$left" ] || kill $left 2>/dev/null || true
    for _ in $(seq 50); do
        left=$(ours)
        [ -n "$left" ] || break
        sleep 0.1
    done
    [ -z "$left" ] || kill -KILL $left 2>/dev/null || true
    rm -rf "$scratch" 2>/dev/null || true
}
trap cleanup EXIT
status=0
runuser -u "$user" -- env -i PATH="$PATH" HOME="$scratch" USER="$user" LANG=C.UTF-8 \
    ${TAVREN_BENCH_SHOW_LOST:+TAVREN_BENCH_SHOW_LOST=1} "$desktop" "$@" || status=$?
exit $status

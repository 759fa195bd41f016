#!/usr/bin/env bash
# The install puts tavren-irc-bridge and its session service file under the
# prefix it is given, and a session bus that reads that prefix starts the
# installed bridge when a command comes for the conversation.
set -euo pipefail
build="${1:?build directory}"
scratch=$(mktemp -d /tmp/tavren-install-XXXXXX)
daemon=""
trap '[ -z "$daemon" ] || kill "$daemon" 2>/dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
service="$prefix/share/dbus-1/services/org.tavren.Conversation.CHOCOA.SCRIPTEXEC_SEND.service"
[ -f "$service" ] || fail "no service file at $service"
grep -qx "Exec=$prefix/bin/tavren-irc-bridge" "$service" || fail "the service file: $(cat "$service")"
[ -x "$prefix/bin/tavren-irc-bridge" ] || fail "no installed bridge"

cat >"$scratch/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <include>/usr/share/dbus-1/session.conf</include>
  <servicedir>$prefix/share/dbus-1/services</servicedir>
</busconfig>
CONF
dbus-daemon --config-file="$scratch/bus.conf" --nofork --print-address=3 3>"$scratch/address" \
    >/dev/null 2>&1 &
daemon=$!
for _ in $(seq 200); do [ -s "$scratch/address" ] && break; sleep 0.05; done
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$scratch/address")
# No IRC client here: the command is accepted and dropped.
gdbus call --session --dest org.tavren.Conversation.CHOCOA.SCRIPTEXEC_SEND \
    --object-path /org/tavren/Conversation --method org.tavren.Conversation.Execute \
    'Text1,/privmsg $# Connect.... OK' R1C1 >/dev/null || fail "the installed bridge did not answer"
pid=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID \
    org.tavren.Conversation.CHOCOA.SCRIPTEXEC_SEND | sed 's/[^0-9]*uint32 \([0-9]*\).*/\1/')
[ "$(readlink "/proc/$pid/exe")" = "$prefix/bin/tavren-irc-bridge" ] ||
    fail "the conversation is served by $(readlink "/proc/$pid/exe")"
kill "$pid"
echo "PASS: the installed service file starts the installed bridge"

# Helpers of the tests that take Tavren's link to real IRC clients: an IRC
# server of their own (ngircd on 127.0.0.1), an observer in its channel, a
# private session bus that starts tavren-irc-bridge from the build tree's
# service file, and HexChat or WeeChat joined to the channel. Everything runs as
# one unprivileged user: HexChat stops at a dialog when run as root, and a
# session bus serves only the user who started it.

# Run as root, the test runs again as nobody, from a copy of the programs and
# of these scripts that nobody can read (a clone under /root is not readable).
if [ "$(id -u)" -eq 0 ]; then
    stage=$(mktemp -d /tmp/tavren-irc-stage-XXXXXX)
    mkdir "$stage/bin" "$stage/services" "$stage/e2e"
    cp "$TAVREN" "${TAVREN_BUILD:?}/tavren-irc-bridge" "$stage/bin/"
    cp "$(dirname "$0")"/*.sh "$(dirname "$0")"/*.bash "$(dirname "$0")"/*.py "$stage/e2e/"
    cp "$(dirname "$0")/../../data/irssi/tavren.pl" "$stage/bin/"
    chown -R nobody:nogroup "$stage"
    chmod 755 "$stage"
    export TAVREN="$stage/bin/tavren" TAVREN_BRIDGE="$stage/bin/tavren-irc-bridge" TAVREN_STAGE="$stage"
    export TAVREN_IRSSI_SCRIPT="$stage/bin/tavren.pl"
    exec setpriv --reuid=nobody --regid=nogroup --clear-groups bash "$stage/e2e/$(basename "$0")" "$@"
fi
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/windows.bash"
eval "lib_$(declare -f cleanup)"
cleanup() {
    lib_cleanup
    [ -z "${TAVREN_STAGE:-}" ] || rm -rf "$TAVREN_STAGE"
}

channel='#tavren'
observed="$scratch/observed.log"
export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime"
export XDG_DATA_HOME="$scratch/data" XDG_CACHE_HOME="$scratch/cache"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# A private session bus that starts the bridge, as the installed service file
# has it do.
start_bus() {
    mkdir -p "$scratch/services"
    printf '[D-BUS Service]\nName=%s\nExec=%s\n' "$bridge_name" \
        "${TAVREN_BRIDGE:-$TAVREN_BUILD/tavren-irc-bridge}" >"$scratch/services/$bridge_name.service"
    cat >"$scratch/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <include>/usr/share/dbus-1/session.conf</include>
  <servicedir>$scratch/services</servicedir>
</busconfig>
CONF
    dbus-daemon --config-file="$scratch/bus.conf" --nofork --print-address=3 \
        3>"$scratch/bus.address" >/dev/null 2>&1 &
    BUS_PID=$!
    pids+=($!)
    wait_until 10 test -s "$scratch/bus.address" || fail "no session bus"
    DBUS_SESSION_BUS_ADDRESS=$(head -1 "$scratch/bus.address")
    export DBUS_SESSION_BUS_ADDRESS
}

bridge_name=org.tavren.Conversation.CHOCOA.SCRIPTEXEC_SEND
bridge_serves() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$bridge_name" 2>/dev/null | grep -q 'true'
}

bridge_pid() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID "string:$bridge_name" |
        awk '/uint32/ { print $2 }'
}
process_gone() { ! kill -0 "$1" 2>/dev/null; }

# ngircd on a free port, without DNS or ident look-ups; sets IRC_PORT.
start_irc_server() {
    IRC_PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    cat >"$scratch/ngircd.conf" <<CONF
[Global]
Name = irc.tavren.test
Info = Tavren test server
Listen = 127.0.0.1
Ports = $IRC_PORT
PidFile = $scratch/ngircd.pid
MotdPhrase = test
[Limits]
MaxNickLength = 30
[Options]
DNS = no
Ident = no
PAM = no
[Channel]
Name = $channel
CONF
    ngircd --nodaemon --config "$scratch/ngircd.conf" >"$scratch/ngircd.log" 2>&1 &
    pids+=($!)
    wait_until 10 grep -q "Now listening" "$scratch/ngircd.log" || fail "ngircd: $(cat "$scratch/ngircd.log")"
    python3 "$(dirname "$0")/irc_observer.py" "$IRC_PORT" "$channel" "$observed" &
    pids+=($!)
    wait_until 10 seen " JOIN :$channel\$" || wait_until 1 seen " JOIN $channel\$" ||
        fail "the observer did not join"
}

# Lines the observer recorded that match an extended regular expression.
seen() { [ -f "$observed" ] && grep -Eq -- "$1" "$observed"; }
count_seen() { if [ -f "$observed" ]; then grep -Ec -- "$1" "$observed" || true; else echo 0; fi; }
seen_at_least() { [ "$(count_seen "$2")" -ge "$1" ]; }
from() { printf '^:%s!' "$1"; }

# weechat-headless with a server WEECHAT_SERVER whose nick is NICK, joined to
# the channel. The server is saved to irc.conf, where the bridge reads names.
start_weechat() {
    local server="$1" nick="$2"
    weechat-headless -r "/set logger.file.flush_delay 0;/server add $server 127.0.0.1/$IRC_PORT;/set irc.server.$server.nicks $nick;/set irc.server.$server.autojoin $channel;/save irc;/connect $server" \
        >"$scratch/weechat.out" 2>&1 &
    pids+=($!)
    wait_until 20 seen "$(from "$nick").* JOIN :?$channel\$" || fail "WeeChat did not join: $(cat "$scratch/weechat.out")"
}

# HexChat on the desktop with a network NETWORK that connects at start and
# joins the channel as NICK, without the network list, join delay or throttle.
start_hexchat() {
    local network="$1" nick="$2" config="$XDG_CONFIG_HOME/hexchat"
    mkdir -p "$config"
    printf '%s\n' 'version = 2.16.1' 'gui_slist_skip = 1' 'gui_join_dialog = 0' \
        'irc_join_delay = 0' 'net_throttle = 0' "irc_nick1 = $nick" "irc_nick2 = ${nick}_" \
        "irc_nick3 = ${nick}__" "irc_user_name = $nick" "irc_real_name = $nick" \
        >"$config/hexchat.conf"
    # Flags 11: cycle through the servers, use the global nicks, connect at start.
    printf '%s\n' 'v=2.16.1' '' "N=$network" 'E=UTF-8 (Unicode)' 'F=11' 'D=0' \
        "S=127.0.0.1/$IRC_PORT" "J=$channel" >"$config/servlist.conf"
    hexchat --existing=no >"$scratch/hexchat.out" 2>&1 </dev/null &
    pids+=($!)
    wait_until 30 seen "$(from "$nick").* JOIN :?$channel\$" || fail "HexChat did not join: $(cat "$scratch/hexchat.out")"
}

# The nick window, with the nick text typed into it.
nick_window() {
    timeout 20 xdotool search --sync --onlyvisible --name '^nick$' | head -1
}
# The client's window may cover the nick window: bring it to the front first.
front_nick_window() { xdotool windowactivate --sync "$NICK_WINDOW" >/dev/null 2>&1 || true; }
type_nick() {
    local nick="$1"
    front_nick_window
    click_control "$NICK_WINDOW" 0 120 1320 1335 270 # txt_nick
    xdotool key ctrl+a BackSpace
    xdotool type --delay 20 "$nick"
}
press_ws() { front_nick_window && click_control "$NICK_WINDOW" 0 120 720 600 255; } # Command3 "WS"
press_a() { front_nick_window && click_control "$NICK_WINDOW" 0 840 0 600 255; }    # Command7 "A"
press_d() { front_nick_window && click_control "$NICK_WINDOW" 0 840 720 600 255; }  # Command4 "D"

# Starts tavren with an order file of the given lines (CR ends a line) and,
# when given, a nick text kept in the settings file.
start_tavren_with() {
    local order="$1" nick="${2:-}"
    printf "$order" >"$scratch/tavren.txt"
    if [ -n "$nick" ]; then
        mkdir -p "$XDG_CONFIG_HOME/tavren"
        printf '[nick]\r\ntxt=%s\r\n' "$nick" >"$XDG_CONFIG_HOME/tavren/QVRL2.ini"
    fi
    start_tavren
    NICK_WINDOW=$(nick_window) || fail "the nick window did not appear"
}

announcement=' PRIVMSG #tavren :Connect\.\.\.\. OK$'

#!/usr/bin/env bash
# Starts an input method with mozc for the desktop's session and runs a command
# with it, the way a Japanese desktop runs: windows started from the command
# talk to the input method (GTK, Qt and XIM alike). Ends the input method and
# mozc's server with the command.
# Usage: with_input_method.sh fcitx5|ibus COMMAND [ARGS...]
set -euo pipefail
which=$1
shift
: "${HOME:?}"
export XDG_CONFIG_HOME="$HOME/.config"
mkdir -p "$XDG_CONFIG_HOME"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    # mozc's server, which the input method started: this run's alone, known by
    # the home it inherited (other runs, or the user's own desktop, have theirs).
    for pid in $(pgrep -u "$(id -u)" -f mozc_server); do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "HOME=$HOME" &&
            { kill "$pid" 2>/dev/null || true; }
    done
    return 0
}
trap cleanup EXIT

case "$which" in
fcitx5)
    # One group: the US layout (inactive) and mozc (active), as fcitx5's own
    # set-up tool writes it.
    mkdir -p "$XDG_CONFIG_HOME/fcitx5"
    cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
PROFILE
    export GTK_IM_MODULE=fcitx QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx TAVREN_TEST_INPUT_METHOD=fcitx5
    # kimpanel stays: it serves a panel when one appears (mode_panel.py).
    fcitx5 --disable=notificationitem,dbusfrontend-ibus >"$HOME/fcitx5.log" 2>&1 &
    pids+=($!)
    gdbus wait --session --timeout 20 org.fcitx.Fcitx5
    ;;
ibus)
    # mozc composing kana from the start, as Japanese users set it.
    mkdir -p "$XDG_CONFIG_HOME/mozc"
    cat >"$XDG_CONFIG_HOME/mozc/ibus_config.textproto" <<'MOZC'
engines {
  name : "mozc-jp"
  longname : "Mozc"
  layout : "default"
  layout_variant : ""
  layout_option : ""
  rank : 80
}
active_on_launch: True
MOZC
    export GTK_IM_MODULE=ibus QT_IM_MODULE=ibus XMODIFIERS=@im=ibus TAVREN_TEST_INPUT_METHOD=ibus
    # Settings in memory (no dconf), no panel: nothing but the daemon and mozc.
    ibus-daemon --xim --panel=disable --emoji-extension=disable \
        --config=/usr/libexec/ibus-memconf >"$HOME/ibus.log" 2>&1 &
    pids+=($!)
    # The daemon answers once it is up; mozc's engine once ibus has read it.
    for _ in $(seq 200); do ibus engine mozc-jp >/dev/null 2>&1 && break; sleep 0.1; done
    [ "$(ibus engine)" = mozc-jp ]
    ;;
*)
    echo "usage: $0 fcitx5|ibus COMMAND [ARGS...]" >&2
    exit 2
    ;;
esac
"$@"

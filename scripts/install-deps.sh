#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Tavren need.
# Safe to run again: it only calls apt when something is missing.
# Usage: scripts/install-deps.sh            the Linux build and its tests
#        scripts/install-deps.sh windows    the Windows cross build and Wine
set -euo pipefail

linux=(
    # build
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools       # the views, the event loop, Qt D-Bus
    libx11-dev libxtst-dev libxi-dev       # window list, synthesised keys, global key state
    librsvg2-bin                           # the icon's PNG sizes, rendered from its SVG
    # the Debian package (CPack; dpkg-shlibdeps computes its dependencies)
    dpkg-dev file
    # tests
    libgtest-dev libgmock-dev clang libclang-rt-14-dev
    clang-format                           # scripts/check-format.sh (clang-format-14, the layout checked)
    xvfb openbox xdotool xterm x11-utils dbus dbus-x11 imagemagick
    desktop-file-utils appstream binutils  # validating the menu entry and metainfo; readelf
    libgtk-3-dev                          # a GTK 3 entry as a typing target
    libsm-dev libice-dev                   # a session manager that ends the test session
    # the input methods Japanese desktops run, with mozc, and their GTK 3 and
    # Qt 6 modules: typing is tested through them (gdbus, and Python with
    # GObject introspection standing in for the panel, are the tests' hand on them)
    fcitx5 fcitx5-mozc fcitx5-frontend-gtk3 fcitx5-frontend-qt6 libglib2.0-bin
    ibus ibus-mozc ibus-gtk3 python3-gi gir1.2-ibus-1.0
    # the IRC link for real: an IRC server, the two clients the bridge serves
    # (weechat-plugins holds WeeChat's FIFO), and the test's observer client
    ngircd weechat-headless weechat-plugins hexchat python3
    # irssi, served by Tavren's irssi script, which reads the session bus
    # through Net::DBus
    irssi libnet-dbus-perl
    # Japanese captions: Ume UI Gothic's compact lines fit the designed boxes
    fonts-horai-umefont fonts-noto-cjk
)
windows=(
    cmake ninja-build
    g++-mingw-w64-x86-64-posix # the posix-threads flavour: GoogleTest needs std::thread
    mingw-w64-tools            # windres for the resources
    googletest                 # GoogleTest's sources, built for Windows with the tests
    wine wine64                # runs the Windows tests and the program here
    xvfb openbox x11-utils      # the private desktop the Wine windows live on
    locales                    # the ja_JP locale sources: localedef makes a Japanese Wine (code page 932) for the tests
    xdotool imagemagick python3 # the end-to-end tests drive tavren.exe with X clicks and keys and read its screen
)

case "${1:-linux}" in
    linux) packages=("${linux[@]}") ;;
    windows) packages=("${windows[@]}") ;;
    *) echo "usage: $0 [linux|windows]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

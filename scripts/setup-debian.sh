#!/bin/sh
# Installs what building and testing Les Kovrant needs on Debian 12, and only what is missing.
# Runs unattended: as root, or through sudo.
#
#   scripts/setup-debian.sh          what building and playing need
#   scripts/setup-debian.sh --tests  that, and what the tests on real display servers need: an X server
#                                    and a window manager, the accessibility bus, Orca and speech
#                                    dispatching, French keyboard maps, a headless Wayland compositor;
#                                    xdg-open and the MIME databases; and ccache for tools/mutants.py
set -eu

packages="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 \
libgl-dev libxkbcommon-dev qt6-wayland"
if [ "${1:-}" = "--tests" ]; then
    packages="$packages xvfb xauth x11-utils x11-xkb-utils xdotool wmctrl openbox imagemagick dbus dbus-x11 \
at-spi2-core python3-pyatspi orca speech-dispatcher sway wtype grim python3 ccache \
xdg-utils libfile-mimeinfo-perl desktop-file-utils shared-mime-info"
fi
if [ "${KOVRANT_EXTRA_PACKAGES:-}" != "" ]; then
    packages="$packages $KOVRANT_EXTRA_PACKAGES"
fi

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
else
    as_root="sudo"
fi
echo "Installing:$missing"
$as_root apt-get update -q
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -q --no-install-recommends $missing

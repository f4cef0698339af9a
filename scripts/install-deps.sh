#!/bin/sh
# Installs the Debian 12 packages that building, testing and running Lorvane
# need, when they are missing. Uses sudo when not run as root.
set -eu

packages="
cmake ninja-build g++ pkg-config
qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
zlib1g-dev libarchive-dev libgtest-dev libbenchmark-dev
xvfb xauth xdotool x11-utils imagemagick openbox desktop-file-utils
dbus at-spi2-core python3-pyatspi
fonts-dejavu-core fonts-dejavu-extra breeze-icon-theme
libsword-dev sword-text-web
qt6-translations-l10n
libreoffice-writer-nogui poppler-utils fonts-liberation2
"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing

#!/bin/sh
# Installs the Debian 12 packages Lorvane needs, when they are missing. Uses
# sudo when not run as root.
# usage: install-deps.sh [run|test|deb]
#   run   what building and running the program need (make run, make install)
#   test  that and what the tests, the fuzzers and the benchmarks add
#         (make test, make bench); the default
#   deb   what building the program needs and the Debian packaging tools
#         (make deb)
set -eu

# Compiler and build tools, Qt, zlib, SWORD and its World English Bible for
# the default data set, its Greek and Hebrew Strong's dictionaries (made
# plain files beside the program by make data), libarchive, xz for the
# archives of the Greek and Hebrew texts, the fonts (DejaVu for Latin, Greek,
# Cyrillic and Hebrew; WenQuanYi Micro Hei for Chinese; SIL Ezra for the
# points and cantillation of Biblical Hebrew; GNU FreeFont for Thai and
# Cherokee), the icons of the toolbars and Qt's French translations.
run_packages="
cmake ninja-build g++ pkg-config
qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
zlib1g-dev libarchive-dev xz-utils
libsword-dev sword-text-web sword-dict-strongs-greek sword-dict-strongs-hebrew
fonts-dejavu-core fonts-dejavu-extra breeze-icon-theme
fonts-wqy-microhei fonts-sil-ezra fonts-freefont-ttf
qt6-translations-l10n
"

# GoogleTest and Google Benchmark; clang and its fuzzer runtime; the virtual
# display, its window manager and the X tools of the window tests; the
# accessibility bus, and the Orca screen reader with localedef (locales) for
# its French; LibreOffice, poppler and the fonts of the writing pad's tests;
# the validators of the desktop entry and the AppStream file, and man for the
# man pages; three SWORD commentaries and the King James with Strong's
# numbers, read by the import's tests.
test_packages="
sword-comm-scofield sword-comm-mhcc sword-comm-tdavid sword-text-kjv
libgtest-dev libbenchmark-dev
clang libclang-rt-dev
xvfb xauth xdotool x11-utils imagemagick openbox
dbus at-spi2-core python3-pyatspi orca locales
libreoffice-writer-nogui poppler-utils fonts-liberation2
desktop-file-utils appstream man-db
"

# The Debian package and its checks.
deb_packages="
debhelper dpkg-dev lintian appstream desktop-file-utils
"

case "${1:-test}" in
run) packages=$run_packages ;;
test) packages="$run_packages $test_packages" ;;
deb) packages="$run_packages $deb_packages" ;;
*)
    echo "usage: install-deps.sh [run|test|deb]" >&2
    exit 2
    ;;
esac

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

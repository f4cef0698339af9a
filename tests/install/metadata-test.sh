#!/bin/sh
# The files of the desktop and of the Debian package, as their validators
# and man read them, and the version they name against the program's.
# usage: metadata-test.sh SOURCE_DIR VERSION
set -eu
src=$1
version=$2
status=0
fail() {
    echo "$*"
    status=1
}

desktop-file-validate "$src/desktop/lorvane.desktop" || fail "desktop entry refused"
appstreamcli validate --no-net "$src/desktop/lorvane.metainfo.xml" || fail "AppStream file refused"
grep -q "<release version=\"$version\"" "$src/desktop/lorvane.metainfo.xml" ||
    fail "the AppStream file's last release is not $version"
head -n 1 "$src/debian/changelog" | grep -q "^lorvane ($version)" ||
    fail "debian/changelog does not start with version $version"
for page in lorvane.1 lorvane.fr.1; do
    grep -q "\"Lorvane $version\"" "$src/desktop/$page" || fail "$page is not for version $version"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$src/desktop/$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
done

# The licence: the GPL, version 2 or later, said alike by COPYING, the
# package's copyright file (machine-readable) and the AppStream file.
gpl=/usr/share/common-licenses/GPL-2
if [ -f "$gpl" ]; then
    cmp -s "$gpl" "$src/COPYING" || fail "COPYING is not the text of $gpl"
else
    grep -q "Version 2, June 1991" "$src/COPYING" || fail "COPYING is not the GPL, version 2"
fi
grep -q "<project_license>GPL-2.0-or-later</project_license>" "$src/desktop/lorvane.metainfo.xml" ||
    fail "the AppStream project_license is not GPL-2.0-or-later"
copyright=$src/debian/copyright
head -n 1 "$copyright" |
    grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
    fail "debian/copyright is not in the machine-readable format"
# "Files: *" names GPL-2+, and the stand-alone licence paragraph
# refers to Debian's copy of the text.
awk -v RS= '
    /^Files: \*\n/ { files = /\nLicense: GPL-2\+(\n|$)/ }
    /^License: GPL-2\+\n/ { text = /either version 2 of the License, or/ &&
                                     /\/usr\/share\/common-licenses\/GPL-2/ }
    END { exit !(files && text) }' "$copyright" ||
    fail "debian/copyright does not give every file the GPL-2+ with its licence paragraph"
if grep -q "LicenseRef-proprietary" "$copyright" "$src/desktop/lorvane.metainfo.xml"; then
    fail "a licence file still reserves every right"
fi
exit $status

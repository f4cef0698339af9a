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
exit $status

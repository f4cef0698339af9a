#!/bin/sh
# Builds the Debian package lorvane_<version>_amd64.deb with the Debian tools
# (dpkg-buildpackage, debhelper and debian/), without root, then checks it
# with lintian (no error, no warning), appstreamcli and desktop-file-validate.
#
# The sources the project tracks are copied into BUILD_DIR/lorvane-<version>
# with the data folder of BIN_DIR (make data: the shipped Bible) as
# shipped/data, its Strong's dictionaries as shipped/dictionnaires and its
# Bibles in their original languages (originaux/ID/data and
# originaux/ID/licence.txt) as shipped/originaux, so that nothing is written
# beside the project; the package
# lands in the project folder, the build's other files in BUILD_DIR.
# usage: build-deb.sh BIN_DIR BUILD_DIR
set -eu

if [ $# -ne 2 ]; then
    echo "usage: build-deb.sh BIN_DIR BUILD_DIR" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

for f in livre.dat bible.dat index.dat citat.dat refer.dat them.dat; do
    [ -f "$bin/data/$f" ] || { echo "build-deb: $bin/data/$f is missing (make data)" >&2; exit 1; }
    for id in grc hbo; do
        [ -f "$bin/originaux/$id/data/$f" ] ||
            { echo "build-deb: $bin/originaux/$id/data/$f is missing (make data)" >&2; exit 1; }
    done
done
for f in strongs-grec.txt strongs-hebreu.txt; do
    [ -f "$bin/dictionnaires/$f" ] ||
        { echo "build-deb: $bin/dictionnaires/$f is missing (make data)" >&2; exit 1; }
done

# The package's version is the changelog's; the program's must be the same.
version=$(cd "$root" && dpkg-parsechangelog -S Version)
program=$(sed -n 's/^project(Lorvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
case $program in
    "$version" | "$version".0) ;;
    *)
        echo "build-deb: debian/changelog says $version, CMakeLists.txt $program" >&2
        exit 1
        ;;
esac
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
deb=lorvane_${version}_$arch.deb

tree=$out/lorvane-$version
rm -rf "$tree"
mkdir -p "$tree/shipped"
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    (cd "$root" && git ls-files -z --cached --others --exclude-standard |
        xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\n" "$f"; done' sh |
        tar -cf - -T -) | tar -xf - -C "$tree"
else
    (cd "$root" && tar -cf - --exclude='./build*' --exclude='./lorvane_*' .) | tar -xf - -C "$tree"
fi
cp -R "$bin/data" "$tree/shipped/data"
cp -R "$bin/dictionnaires" "$tree/shipped/dictionnaires"
for d in "$bin"/originaux/*/; do
    id=$(basename "$d")
    mkdir -p "$tree/shipped/originaux/$id"
    cp -R "$d/data" "$tree/shipped/originaux/$id/data"
    cp "$d/licence.txt" "$tree/shipped/originaux/$id/licence.txt"
done

rm -f "$out/$deb"
(cd "$tree" && dpkg-buildpackage -b --no-sign) > "$out/build.log" 2>&1 || {
    tail -n 40 "$out/build.log" >&2
    echo "build-deb: dpkg-buildpackage failed (full log: $out/build.log)" >&2
    exit 1
}
mv -f "$out/$deb" "$root/$deb"

status=0
lintian --fail-on error,warning --info "$root/$deb" || status=1
appstreamcli validate --no-net "$tree/debian/lorvane/usr/share/metainfo/lorvane.metainfo.xml" ||
    status=1
desktop-file-validate "$tree/debian/lorvane/usr/share/applications/lorvane.desktop" || status=1
[ $status -eq 0 ] || { echo "build-deb: $deb does not pass its checks" >&2; exit 1; }
echo "$root/$deb"

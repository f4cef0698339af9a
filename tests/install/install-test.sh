#!/bin/sh
# The per-user installation, run through the scripts the reader runs, in
# throwaway HOME folders whose names hold spaces, accents, apostrophes and
# the characters a menu entry's command must escape:
#   - every file is in place, the icons have their sizes, the menu entry is
#     valid and its command names the launcher;
#   - the program started by that command, from another working directory,
#     under a virtual X display, shows its main window with its icon and
#     writes its first chapter page into the program folder (the launcher is
#     a link: the program finds its folder through it);
#   - the Bibles in their original languages (originaux/ID/data and
#     licence.txt) are carried with the data;
#   - installing again replaces the program and the data, leaves nothing of
#     the earlier data (an original Bible the new one lacks goes, folders
#     and all) and keeps the reader's own files;
#   - a file the installation did not put there is never replaced;
#   - uninstalling leaves the HOME as it was, but for the reader's files;
#   - with XDG_DATA_HOME set, the program folder, the menu entry and the
#     icons go there.
# usage: install-test.sh SCRIPTS_DIR LORVANE LORVANE_DATA ICON_DIR
set -eu
scripts=$1
program=$2
builder=$3
icon_dir=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
check() { # check DESCRIPTION COMMAND...
    what=$1
    shift
    if ! "$@"; then
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
same_file() { cmp -s -- "$1" "$2"; }
is_link_to() { [ -L "$1" ] && [ "$(readlink -- "$1")" = "$2" ]; }
png_size() { # the width and height of a PNG picture
    od -An -tu1 -j16 -N8 -- "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'
}
# Every entry of a HOME: its kind, path, link target and, for files, a checksum.
listing() {
    (cd "$1" && find . -printf '%y %p -> %l\n' | LC_ALL=C sort &&
        find . -type f -exec md5sum {} + | LC_ALL=C sort -k 2)
}
# The files of a folder, relative to it.
files_of() { (cd "$1" && find . -mindepth 1 | LC_ALL=C sort); }
install_in() { # install_in HOME BIN_DIR [XDG_DATA_HOME]
    if [ $# -eq 3 ]; then
        HOME=$1 XDG_DATA_HOME=$3 "$scripts/install.sh" "$2" "$icon_dir"
    else
        HOME=$1 env -u XDG_DATA_HOME "$scripts/install.sh" "$2" "$icon_dir"
    fi
}
uninstall_in() { # uninstall_in HOME [XDG_DATA_HOME]
    if [ $# -eq 2 ]; then
        HOME=$1 XDG_DATA_HOME=$2 "$scripts/uninstall.sh"
    else
        HOME=$1 env -u XDG_DATA_HOME "$scripts/uninstall.sh"
    fi
}
# The command of the menu entry's Exec line, as a menu runs it: the string
# escapes undone, then the arguments split and unquoted (the quoting rules
# of desktop entries are those of the shell's double quotes).
menu_command() {
    exec_line=$(sed -n 's/^Exec=//p' "$1" | sed 's/\\\\/\\/g; s/%%/%/g')
    eval "set -- $exec_line"
    printf '%s\n' "$@"
}

# Two prepared program folders, as make data leaves build/bin: the first
# with a data file and an original Bible that the second lacks, the second
# with another program file.
bin1="$work/bin un"
bin2="$work/bin deux"
mkdir -p "$bin1" "$bin2"
cp "$program" "$bin1/lorvane"
cp "$program" "$bin2/lorvane"
printf 'autre' >> "$bin2/lorvane"
"$builder" --sample --out "$bin1/data" > /dev/null
"$builder" --sample --out "$bin2/data" > /dev/null
echo "ancien" > "$bin1/data/ancien.dat"
# The Strong's dictionaries beside the first program only.
mkdir "$bin1/dictionnaires"
printf 'lorvane-strongs 1\n' > "$bin1/dictionnaires/strongs-grec.txt"
for id in grc hbo; do
    "$builder" --sample --out "$bin1/originaux/$id/data" > /dev/null
    echo "Licence de $id : domaine public." > "$bin1/originaux/$id/licence.txt"
done
"$builder" --sample --out "$bin2/originaux/grc/data" > /dev/null
echo "Licence : domaine public, revue." > "$bin2/originaux/grc/licence.txt"

# The reader's HOME, with files of their own.
home="$work/Maison d'Élise — à l'essai"
mkdir -p "$home/Documents" "$home/.local/share/applications"
echo "mes notes" > "$home/Documents/notes.rtf"
printf '[Desktop Entry]\nType=Application\nName=Autre\nExec=autre\n' \
    > "$home/.local/share/applications/autre.desktop"
listing "$home" > "$work/before"

prog="$home/.local/share/lorvane"
launcher="$home/.local/bin/lorvane"
desktop="$home/.local/share/applications/lorvane.desktop"
icons="$home/.local/share/icons/hicolor"

# --- install ---
install_in "$home" "$bin1" > "$work/install.out"
check "program" same_file "$bin1/lorvane" "$prog/lorvane"
check "program executable" test -x "$prog/lorvane"
check "data" diff -r "$bin1/data" "$prog/data"
check "original Bibles" diff -r "$bin1/originaux" "$prog/originaux"
check "dictionaries" diff -r "$bin1/dictionnaires" "$prog/dictionnaires"
check "launcher is a link to the program" is_link_to "$launcher" "$prog/lorvane"
check "scalable icon" same_file "$icon_dir/scalable/apps/lorvane.svg" "$icons/scalable/apps/lorvane.svg"
check "48 px icon" same_file "$icon_dir/48x48/apps/lorvane.png" "$icons/48x48/apps/lorvane.png"
check "256 px icon" same_file "$icon_dir/256x256/apps/lorvane.png" "$icons/256x256/apps/lorvane.png"
check "48 px icon size" test "$(png_size "$icons/48x48/apps/lorvane.png")" = 48x48
check "256 px icon size" test "$(png_size "$icons/256x256/apps/lorvane.png")" = 256x256
check "menu entry valid" desktop-file-validate "$desktop"
check "menu entry: no remark from the validator" test -z "$(desktop-file-validate "$desktop" 2>&1)"
for line in "Type=Application" "Name=Lorvane" "GenericName=Lecteur de la Bible" \
    "Comment=Lire la Bible en français : renvois, recherche, études" "Icon=lorvane" \
    "Categories=Education;Literature;Qt;" "Terminal=false"; do
    check "menu entry: $line" grep -Fqx -- "$line" "$desktop"
done
check "menu entry: keywords" grep -q '^Keywords=Bible;Segond;versets;' "$desktop"
menu_command "$desktop" > "$work/command"
printf '%s\n' "$launcher" > "$work/expected-command"
check "menu entry: Exec runs the launcher" same_file "$work/expected-command" "$work/command"
# Nothing else was written into the HOME.
listing "$home" | sed -n 's/^[a-z] \(.*\) -> .*/\1/p' | LC_ALL=C sort > "$work/after-paths"
sed -n 's/^[a-z] \(.*\) -> .*/\1/p' "$work/before" | LC_ALL=C sort > "$work/before-paths"
LC_ALL=C comm -13 "$work/before-paths" "$work/after-paths" > "$work/added"
cat > "$work/expected-added" <<'EOF'
./.local/bin
./.local/bin/lorvane
./.local/share/applications/lorvane.desktop
./.local/share/icons
./.local/share/icons/hicolor
./.local/share/icons/hicolor/256x256
./.local/share/icons/hicolor/256x256/apps
./.local/share/icons/hicolor/256x256/apps/lorvane.png
./.local/share/icons/hicolor/48x48
./.local/share/icons/hicolor/48x48/apps
./.local/share/icons/hicolor/48x48/apps/lorvane.png
./.local/share/icons/hicolor/scalable
./.local/share/icons/hicolor/scalable/apps
./.local/share/icons/hicolor/scalable/apps/lorvane.svg
./.local/share/lorvane
./.local/share/lorvane/.installed
./.local/share/lorvane/data
./.local/share/lorvane/dictionnaires
./.local/share/lorvane/dictionnaires/strongs-grec.txt
EOF
(cd "$bin1/data" && for f in *; do echo "./.local/share/lorvane/data/$f"; done) >> "$work/expected-added"
(cd "$bin1" && find originaux | sed 's|^|./.local/share/lorvane/|') >> "$work/expected-added"
echo "./.local/share/lorvane/lorvane" >> "$work/expected-added"
LC_ALL=C sort -o "$work/expected-added" "$work/expected-added"
check "install adds exactly its files" diff "$work/expected-added" "$work/added"

# --- the program, started as the menu starts it ---
start_program() { # start_program PROGRAM_FOLDER COMMAND_FILE
    rm -rf "$work/elsewhere"
    mkdir "$work/elsewhere"
    timeout 60 xvfb-run -a -s "-screen 0 1280x800x24" \
        "$(dirname "$0")/start-installed.sh" "$1" "$2" "$work/elsewhere"
}
check "started from the menu entry" start_program "$prog" "$work/command"
check "first chapter page in the program folder" test -s "$prog/temp.htm"
check "study pages in the program folder" test -f "$prog/them/livres.htm"
check "nothing written in the working directory" test -z "$(ls -A "$work/elsewhere")"
check "nothing written beside the launcher" test "$(ls -A "$home/.local/bin")" = lorvane

# --- install again, over a used installation with files of the reader ---
echo "notes du lecteur" > "$prog/Mes notes.rtf"
mkdir -p "$prog/them"
echo "image du lecteur" > "$prog/them/carte.png"
install_in "$home" "$bin2" > "$work/install.out"
check "program replaced" same_file "$bin2/lorvane" "$prog/lorvane"
check "data replaced, the earlier data file gone" diff -r "$bin2/data" "$prog/data"
check "original Bibles replaced, the earlier one gone" diff -r "$bin2/originaux" "$prog/originaux"
check "the earlier dictionary gone" test ! -e "$prog/dictionnaires/strongs-grec.txt"
check "earlier pages cleared" test ! -e "$prog/temp.htm" -a ! -e "$prog/them/livres.htm"
check "reader's files kept" test -f "$prog/Mes notes.rtf" -a -f "$prog/them/carte.png"
check "launcher kept" is_link_to "$launcher" "$prog/lorvane"
check "menu entry still valid" desktop-file-validate "$desktop"
check "started again" start_program "$prog" "$work/command"
check "first chapter page written again" test -s "$prog/temp.htm"

# --- uninstall ---
uninstall_in "$home" > "$work/uninstall.out"
printf '%s\n' . "./Mes notes.rtf" ./them ./them/carte.png > "$work/expected-left"
(cd "$prog" && find . | LC_ALL=C sort) > "$work/left"
check "uninstall keeps only the reader's files in the program folder" \
    diff "$work/expected-left" "$work/left"
check "uninstall names what stays" grep -Fq "Mes notes.rtf" "$work/uninstall.out"
rm -r "$prog"
listing "$home" > "$work/after"
check "uninstall leaves the HOME as it was" diff "$work/before" "$work/after"
uninstall_in "$home" > "$work/uninstall.out"
check "uninstall with nothing installed says so" grep -q "rien à désinstaller" "$work/uninstall.out"

# --- a file of the reader in the way ---
home2="$work/Foyer d'André"
mkdir -p "$home2/.local/bin"
printf '#!/bin/sh\necho mon lorvane\n' > "$home2/.local/bin/lorvane"
listing "$home2" > "$work/before2"
if install_in "$home2" "$bin1" > "$work/install2.out" 2>&1; then
    echo "FAILED: install over a file of the reader succeeded"
    failures=$((failures + 1))
fi
check "the refusal names the file" grep -Fq "$home2/.local/bin/lorvane" "$work/install2.out"
listing "$home2" > "$work/after2"
check "a refused install changes nothing" diff "$work/before2" "$work/after2"

# --- XDG_DATA_HOME ---
# A name with the characters a menu entry's command must escape.
home3="$work/Chez Noël \"\$x\" \\ \`y\` à 100 %"
xdg="$home3/Données partagées"
mkdir -p "$home3"
listing "$home3" > "$work/before3"
install_in "$home3" "$bin1" "$xdg" > /dev/null
check "XDG: program folder" same_file "$bin1/lorvane" "$xdg/lorvane/lorvane"
check "XDG: menu entry" desktop-file-validate "$xdg/applications/lorvane.desktop"
menu_command "$xdg/applications/lorvane.desktop" > "$work/command3"
printf '%s\n' "$home3/.local/bin/lorvane" > "$work/expected-command3"
check "XDG: Exec runs the launcher" same_file "$work/expected-command3" "$work/command3"
check "XDG: icon" test -f "$xdg/icons/hicolor/scalable/apps/lorvane.svg"
check "XDG: launcher" is_link_to "$home3/.local/bin/lorvane" "$xdg/lorvane/lorvane"
check "XDG: nothing in ~/.local/share" test ! -e "$home3/.local/share"
uninstall_in "$home3" "$xdg" > /dev/null
listing "$home3" > "$work/after3"
check "XDG: uninstall leaves the HOME as it was" diff "$work/before3" "$work/after3"

if [ "$failures" -ne 0 ]; then
    echo "$failures checks failed"
    exit 1
fi
echo "installation: files, menu entry, start through the launcher, re-install and uninstall checked"

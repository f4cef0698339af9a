#!/bin/sh
# Installs Lorvane for the current user, without root (the places are set
# in install-paths.sh): the program folder receives the program and its
# data, ~/.local/bin/lorvane links to the program, and the applications menu
# gets an entry with the program's icon.
#
# Everything put in place is listed in the program folder's manifest
# (.installed), before it is written, together with the folders the
# installation created. Installing again replaces the program and the data,
# clears the pages the earlier program wrote, and removes what the earlier
# installation had and this one has not; uninstall.sh removes what the
# manifest lists. A file in one of the places that the manifest does not
# list is never replaced: the installation stops and names it.
#
# usage: install.sh BIN_DIR ICON_DIR
#   BIN_DIR   holds the program lorvane and its data/ folder (make data),
#             the Strong's dictionaries in dictionnaires/ when prepared, and
#             the Bibles in their original languages, originaux/ID/data/
#             and originaux/ID/licence.txt, when it has them
#   ICON_DIR  the icon tree: scalable/apps/lorvane.svg, 48x48/apps/lorvane.png
#             and 256x256/apps/lorvane.png (built into build/icons/hicolor)
set -eu

if [ $# -ne 2 ]; then
    echo "usage: install.sh BIN_DIR ICON_DIR" >&2
    exit 2
fi
bin=${1%/}
icon_src=${2%/}
# shellcheck source=install-paths.sh
. "$(dirname "$0")/install-paths.sh"

icon_files="scalable/apps/lorvane.svg 48x48/apps/lorvane.png 256x256/apps/lorvane.png"
data_files="livre.dat bible.dat index.dat citat.dat refer.dat them.dat"

# What to install.
if [ ! -f "$bin/lorvane" ] || [ ! -x "$bin/lorvane" ]; then
    fail "Le programme $bin/lorvane manque : lancez « make install »."
fi
for f in $data_files; do
    [ -f "$bin/data/$f" ] || fail "Les données sont incomplètes : $bin/data/$f manque."
done
for d in "$bin"/originaux/*/; do
    [ -d "$d" ] || continue
    for f in $data_files licence.txt; do
        [ "$f" = licence.txt ] || f=data/$f
        [ -f "$d$f" ] || fail "Les données sont incomplètes : $d$f manque."
    done
done
for f in $icon_files; do
    [ -f "$icon_src/$f" ] || fail "L'icône $icon_src/$f manque."
done
if [ -d "$prog" ] && [ "$(cd "$bin" && pwd -P)" = "$(cd "$prog" && pwd -P)" ]; then
    fail "$bin est déjà le dossier installé."
fi
if ! printf '%s' "$launcher$data_home" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1; then
    fail "Le chemin $launcher n'est pas écrit en UTF-8 : un menu d'applications ne saurait le lire."
fi

work=$(mktemp -d)
pending=""
trap 'rm -rf "$work"; [ -z "$pending" ] || rm -f "$pending"' EXIT
trap 'exit 1' HUP INT TERM
: > "$work/new"
if [ -f "$manifest" ]; then cp "$manifest" "$work/old"; else : > "$work/old"; fi

# Every target, as the manifest line it will have.
{
    printf 'f %s\n' "$prog/lorvane"
    [ ! -f "$bin/lorvane-sword-import" ] || printf 'f %s\n' "$prog/lorvane-sword-import"
    for f in "$bin"/data/*; do
        [ ! -f "$f" ] || printf 'f %s\n' "$prog/data/${f##*/}"
    done
    for f in "$bin"/dictionnaires/*; do
        [ ! -f "$f" ] || printf 'f %s\n' "$prog/dictionnaires/${f##*/}"
    done
    for f in "$bin"/originaux/*/data/* "$bin"/originaux/*/licence.txt; do
        [ ! -f "$f" ] || printf 'f %s\n' "$prog/${f#"$bin"/}"
    done
    printf 'l %s\n' "$launcher"
    printf 'f %s\n' "$desktop"
    for f in $icon_files; do printf 'f %s\n' "$icons/$f"; done
} > "$work/targets"

# Nothing that an earlier installation did not put there is replaced.
[ ! -e "$prog" ] || [ -d "$prog" ] || fail "$prog existe et n'est pas un dossier."
while IFS= read -r line; do
    target=${line#? }
    if [ -d "$target" ]; then
        fail "$target est un dossier : déplacez-le, puis relancez l'installation."
    fi
    if { [ -e "$target" ] || [ -L "$target" ]; } && ! grep -Fxq -- "$line" "$work/old"; then
        fail "$target existe déjà et ne vient pas d'une installation de Lorvane :" \
            "déplacez-le, puis relancez l'installation."
    fi
done < "$work/targets"

# Adds a line to the manifest, once.
record() {
    grep -Fxq -- "$1" "$manifest" 2>/dev/null || printf '%s\n' "$1" >> "$manifest"
}

# Creates the folder and its missing parents, recording each one created.
ensure_dir() {
    d=$1
    missing=""
    while [ ! -d "$d" ]; do
        missing="$d$nl$missing"
        d=$(dirname "$d")
    done
    [ -n "$missing" ] || return 0
    mkdir -p -- "$1"
    printf '%s' "$missing" > "$work/created"
    while IFS= read -r d; do
        record "d $d"
    done < "$work/created"
}

# Puts a file in place through a temporary file of the same folder.
put() {
    record "f $2"
    printf 'f %s\n' "$2" >> "$work/new"
    pending=${2%/*}/.lorvane-install.$$
    cp -- "$1" "$pending"
    chmod "$3" "$pending"
    mv -f -- "$pending" "$2"
    pending=""
}

# The program folder first: it holds the manifest.
ensure_dir "$prog"
ensure_dir "$prog/data"

# The pages the earlier program wrote come from the earlier data.
for p in $program_pages; do
    [ ! -f "$prog/$p" ] || rm -f -- "$prog/$p"
done
if [ -d "$prog/them" ]; then
    for p in "$prog"/them/*.htm; do
        [ ! -f "$p" ] || rm -f -- "$p"
    done
    rmdir -- "$prog/them" 2>/dev/null || true
fi

put "$bin/lorvane" "$prog/lorvane" 755
[ ! -f "$bin/lorvane-sword-import" ] || put "$bin/lorvane-sword-import" "$prog/lorvane-sword-import" 755
for f in "$bin"/data/*; do
    [ ! -f "$f" ] || put "$f" "$prog/data/${f##*/}" 644
done
# The Strong's dictionaries, when they were prepared.
if [ -d "$bin/dictionnaires" ]; then
    ensure_dir "$prog/dictionnaires"
    for f in "$bin"/dictionnaires/*; do
        [ ! -f "$f" ] || put "$f" "$prog/dictionnaires/${f##*/}" 644
    done
fi
for f in "$bin"/originaux/*/data/* "$bin"/originaux/*/licence.txt; do
    [ -f "$f" ] || continue
    rel=${f#"$bin"/}
    ensure_dir "$prog/${rel%/*}"
    put "$f" "$prog/$rel" 644
done

ensure_dir "${launcher%/*}"
record "l $launcher"
printf 'l %s\n' "$launcher" >> "$work/new"
pending=${launcher%/*}/.lorvane-install.$$
ln -s -- "$prog/lorvane" "$pending"
mv -f -- "$pending" "$launcher"
pending=""

for f in $icon_files; do
    ensure_dir "$icons/${f%/*}"
    put "$icon_src/$f" "$icons/$f" 644
done

# The menu entry. Exec holds the launcher as one quoted argument: ", `, $
# and \ take a backslash inside the quotes, then every backslash is doubled
# as in any string value, and % is doubled.
exec_arg=$(printf '%s' "$launcher" |
    LC_ALL=C sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')
try_exec=$(printf '%s' "$launcher" | LC_ALL=C sed -e 's/\\/\\\\/g')
ensure_dir "${desktop%/*}"
cat > "$work/lorvane.desktop" <<EOF
[Desktop Entry]
Type=Application
Version=1.4
Name=Lorvane
GenericName=Lecteur de la Bible
Comment=Lire la Bible en français : renvois, recherche, études
Keywords=Bible;Segond;versets;chapitres;Écritures;Évangiles;Testament;renvois;recherche;études;thèmes;glossaire;
Icon=lorvane
TryExec=$try_exec
Exec="$exec_arg"
Terminal=false
StartupWMClass=lorvane
Categories=Education;Literature;Qt;
EOF
put "$work/lorvane.desktop" "$desktop" 644

# What the earlier installation had and this one has not.
while IFS= read -r line; do
    case $line in
        "f "* | "l "*) ;;
        *) continue ;;
    esac
    grep -Fxq -- "$line" "$work/new" && continue
    target=${line#? }
    owned_path "$target" || continue
    if [ -L "$target" ] || { [ "${line%% *}" = f ] && [ -f "$target" ]; }; then
        rm -f -- "$target"
    fi
done < "$manifest"

# The folders of the Bibles in their original languages that this
# installation no longer has, now empty, the deepest first.
grep '^d ' "$manifest" | sed 's/^d //' | LC_ALL=C sort -r | while IFS= read -r d; do
    case $d in
        "$prog"/originaux/*) rmdir -- "$d" 2>/dev/null || true ;;
    esac
done

# The manifest: the folders the installations created that still exist,
# then what this one put in place.
grep '^d ' "$manifest" | while IFS= read -r line; do
    [ ! -d "${line#d }" ] || printf '%s\n' "$line"
done > "$work/manifest"
cat "$work/new" >> "$work/manifest"
pending=$manifest.new
cp "$work/manifest" "$pending"
mv -f -- "$pending" "$manifest"
pending=""

echo "Lorvane est installé :"
echo "  programme et données : $prog"
echo "  lanceur : $launcher"
echo "  entrée du menu des applications : $desktop"
case ":${PATH:-}:" in
    *":${launcher%/*}:"*) ;;
    *) echo "(${launcher%/*} n'est pas encore dans PATH : lancez Lorvane depuis le menu, ou" \
        "ouvrez une nouvelle session pour le lancer par « lorvane ».)" ;;
esac

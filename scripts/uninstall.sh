#!/bin/sh
# Removes the per-user installation of Lorvane: what its manifest lists
# (the program, its data, the launcher, the menu entry and the icons), the
# pages the program wrote into its folder (temp.htm, temp0.htm, temp2.htm
# and the study pages of them/), then the folders the installation created,
# when they are empty. Any other file stays, and the folder that holds it
# with it.
# usage: uninstall.sh
set -eu

if [ $# -ne 0 ]; then
    echo "usage: uninstall.sh" >&2
    exit 2
fi
# shellcheck source=install-paths.sh
. "$(dirname "$0")/install-paths.sh"

if [ ! -f "$manifest" ]; then
    echo "Lorvane n'est pas installé dans $prog : il n'y a rien à désinstaller."
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
: > "$work/folders"

while IFS= read -r line; do
    target=${line#? }
    case $line in
        "f "*)
            if owned_path "$target" && { [ -f "$target" ] || [ -L "$target" ]; }; then
                rm -f -- "$target"
            fi
            ;;
        "l "*)
            if owned_path "$target" && [ -L "$target" ]; then
                rm -f -- "$target"
            fi
            ;;
        "d "*)
            owned_folder "$target" && printf '%s\n' "$target" >> "$work/folders"
            ;;
    esac
done < "$manifest"

# The pages the program wrote.
for p in $program_pages; do
    [ ! -f "$prog/$p" ] || rm -f -- "$prog/$p"
done
if [ -d "$prog/them" ] && [ ! -L "$prog/them" ]; then
    for p in "$prog"/them/*.htm; do
        [ ! -f "$p" ] || rm -f -- "$p"
    done
    rmdir -- "$prog/them" 2>/dev/null || true
fi
rm -f -- "$manifest"

# The folders, the deepest first; a folder that is not empty stays.
LC_ALL=C sort -r -u "$work/folders" | while IFS= read -r d; do
    rmdir -- "$d" 2>/dev/null || true
done

echo "Lorvane est désinstallé."
if [ -d "$prog" ]; then
    echo "Le dossier $prog reste : ces fichiers ne viennent pas de l'installation :"
    find "$prog" -mindepth 1 ! -type d | sed 's/^/  /'
fi

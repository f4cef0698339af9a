# shellcheck shell=sh disable=SC2034
# The places of a per-user installation, shared by install.sh and
# uninstall.sh (sourced, not run). The data home is $XDG_DATA_HOME when it
# is an absolute path, else ~/.local/share; the launcher goes to ~/.local/bin.
#
#   $prog/            the program folder: lorvane, data/, originaux/ID/ (the
#                     Bibles in their original languages), and the pages the
#                     program writes there (temp.htm, temp0.htm, temp2.htm,
#                     them/)
#   $manifest         the list of what the installation put in place
#   $launcher         a symbolic link to $prog/lorvane
#   $desktop          the entry of the applications menu
#   $icons/           the icon theme: scalable/apps/lorvane.svg,
#                     48x48/apps/lorvane.png, 256x256/apps/lorvane.png

fail() {
    printf '%s\n' "$*" >&2
    exit 1
}

nl='
'
case ${HOME:-} in
    /*) ;;
    *) fail "HOME n'est pas un chemin absolu : « ${HOME:-} »" ;;
esac
case $HOME in
    *"$nl"* | *[[:cntrl:]]*) fail "Le chemin de HOME contient un caractère de contrôle" ;;
esac
home=${HOME%/}
[ -n "$home" ] || fail "HOME ne peut pas être la racine /"

data_home=$home/.local/share
case ${XDG_DATA_HOME:-} in
    /*)
        case $XDG_DATA_HOME in
            *"$nl"* | *[[:cntrl:]]*) ;;
            *) data_home=${XDG_DATA_HOME%/} ;;
        esac
        ;;
esac
[ -n "$data_home" ] || data_home=$home/.local/share

prog=$data_home/lorvane
manifest=$prog/.installed
launcher=$home/.local/bin/lorvane
desktop=$data_home/applications/lorvane.desktop
icons=$data_home/icons/hicolor

# The pages the program writes into its own folder at every run.
program_pages="temp.htm temp0.htm temp2.htm"

# True when PATH is one the installation may own: inside the program folder,
# the launcher, the menu entry, or the program's icons.
owned_path() {
    case $1 in
        */../* | */.. | */./* | */.) return 1 ;;
        "$prog"/* | "$launcher" | "$desktop") return 0 ;;
        "$icons"/*/apps/lorvane.svg | "$icons"/*/apps/lorvane.png) return 0 ;;
    esac
    return 1
}

# True when the folder PATH is one the installation may have created: the
# program folder or a folder on the way to one of its files.
owned_folder() {
    case $1 in
        */../* | */.. | */./* | */. | "") return 1 ;;
        "$prog" | "$prog"/data | "$prog"/dictionnaires | "$prog"/originaux | "$prog"/originaux/*)
            return 0
            ;;
        "$home"/* | "$data_home" | "$data_home"/*) ;;
        *) return 1 ;;
    esac
    for _owned in "$launcher" "$desktop" "$icons"/scalable/apps/lorvane.svg \
        "$icons"/48x48/apps/lorvane.png "$icons"/256x256/apps/lorvane.png; do
        case $_owned in
            "$1"/*) return 0 ;;
        esac
    done
    case $prog in
        "$1"/*) return 0 ;;
    esac
    return 1
}

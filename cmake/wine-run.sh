#!/bin/sh
# Runs a program of the Windows build under Wine: the cross build's CMAKE_CROSSCOMPILING_EMULATOR, through
# which CTest and any build step run what the build made.
#
#   wine-run.sh PROGRAM.exe [ARG...]   runs it in the build's Wine prefix; a QtTest program (tst_*) writes
#                                      its log to a file, which is then printed
#   wine-run.sh --begin | --end        makes a fresh prefix, or stops its Wine server and removes it
#
# Environment: KOVRANT_WINEPREFIX (the prefix, required), KOVRANT_WINEPATH (the folders of the DLLs, as
# Unix paths separated by ':'). Wine hands the program none of the host's QT_* variables: they are passed
# on with Wine's WINE prefix, which Wine takes off again.
set -eu

: "${KOVRANT_WINEPREFIX:?the Wine prefix to use}"
export WINEPREFIX="$KOVRANT_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A scratch HOME: Wine would otherwise link the prefix's user folders into the user's own.
export HOME="$WINEPREFIX.home"
unset DISPLAY WAYLAND_DISPLAY

case ${1:-} in
--begin)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$HOME"
    mkdir -p "$HOME"
    wine wineboot -i
    wineserver -w
    exit 0
    ;;
--end)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" "$HOME"
    exit 0
    ;;
esac

if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "wine-run: no Wine prefix in $WINEPREFIX: run the windows_wine_begin test first" >&2
    exit 1
fi

windows_path() { # a Unix path as Wine's drive Z: shows it
    # shellcheck disable=SC1003
    echo "Z:$1" | tr / '\\'
}

winpath=""
old_ifs=$IFS
IFS=:
for dir in ${KOVRANT_WINEPATH:-}; do
    winpath="$winpath${winpath:+;}$(windows_path "$dir")"
done
IFS=$old_ifs
export WINEPATH="$winpath"

for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$name=\"\$$name\""
done

program=$1
shift
case $(basename "$program") in
tst_*)
    # QtTest writes nothing to a pipe under Wine.
    log=$(mktemp "${TMPDIR:-/tmp}/kovrant-wine-XXXXXX.txt")
    status=0
    wine "$program" "$@" -o "$(windows_path "$log"),txt" || status=$?
    cat "$log"
    rm -f "$log"
    exit "$status"
    ;;
*)
    exec wine "$program" "$@"
    ;;
esac

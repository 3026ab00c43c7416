#!/bin/bash
# Started with no display server at all, the game says so in one line and leaves with status 2, where Qt
# would abort and dump core. A platform asked for by name is still Qt's to start. The help, a mistaken
# option and a mistaken séance need no display at all.
#
#   no_display.sh KOVRANT    the program to run
set -uo pipefail

kovrant=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
fail() {
    echo "FAIL: $*" >&2
    sed 's/^/  stderr: /' "$err" >&2
    exit 1
}
bare() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >/dev/null 2>"$err"
}

bare "$kovrant"
status=$?
[ "$status" = 2 ] || fail "status $status without a display, 2 expected"
[ "$(wc -l <"$err")" = 1 ] || fail "$(wc -l <"$err") lines on standard error, 1 expected"
grep -q '^Les Kovrant : aucun écran disponible' "$err" || fail "not the line that says there is no display"

# The help and a mistaken option are answered before a display is looked for.
bare "$kovrant" --help
status=$?
{ [ "$status" = 0 ] && [ ! -s "$err" ]; } || fail "--help: status $status, 0 and nothing on stderr expected"
bare "$kovrant" --temps 12
status=$?
{ [ "$status" = 2 ] && [ "$(wc -l <"$err")" = 1 ] && grep -q '« 12 »' "$err"; } ||
    fail "--temps 12: status $status, 2 and one line naming the value expected"

# So is a séance with a mistake: its line names the file and the line.
seance=$(mktemp --suffix=.kovrant)
printf 'titre = Divisions\n5 929 : 8\n' >"$seance"
bare "$kovrant" "$seance"
status=$?
rm -f "$seance"
{ [ "$status" = 2 ] && [ "$(wc -l <"$err")" = 1 ] && grep -q "$(basename "$seance"), ligne 2 : « 5 929 : 8 »" "$err"; } ||
    fail "a séance's mistake: status $status, 2 and one line naming the file and the line expected"

# The offscreen platform needs no display: the game runs until it is stopped.
for how in "QT_QPA_PLATFORM=offscreen $kovrant" "$kovrant -platform offscreen"; do
    # shellcheck disable=SC2086
    bare timeout 1.5 env $how
    status=$?
    [ "$status" = 124 ] || fail "$how: status $status, the game should have been running"
done
echo "no display: one line, status 2"

#!/usr/bin/env bash
# Plays Les Kovrant on a headless Wayland compositor (sway) as a child would, keyboard first: ticks a
# family, starts the game, answers one question, poses the next, leaves it with Escape for the farewell
# screen and ends the program from there, which must exit with status 0. What happened is read from
# outside: the compositor's window tree, screenshots and the exit status.
#
#   wayland_play.sh KOVRANT [focus|no-focus]
#
# focus: sway gives each new window the keyboard, as it normally does. no-focus: sway focuses no new
# window and ignores activation requests, so only the program's own routing brings the keys to the
# screen it has just shown.
#
# sway refuses to run as root: run as root, the script makes an ordinary user for it (useradd) and runs
# the compositor and the game as that user, with a private runtime directory.
set -euo pipefail

for tool in sway swaymsg grim setpriv; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/setup-debian.sh --tests)"; exit 77; }
done

program=$(realpath "$1")
mode=${2:-focus}
here=$(cd "$(dirname "$0")" && pwd)
user=${KOVRANT_WAYLAND_USER:-kovrant-wayland}
deadline_s=20

dir=$(mktemp -d /tmp/kovrant-wayland.XXXXXX)
sway_pid=""
game_pid=""
cleanup() {
    local status=$?
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null
    wait 2>/dev/null
    if [ $status -ne 0 ] || [ -n "${KOVRANT_WAYLAND_LOGS:-}" ]; then
        for log in sway game; do
            echo "--- $log.log (last lines)"
            tail -n 20 "$dir/$log.log" 2>/dev/null
        done
    fi
    rm -rf "$dir"
    exit $status
}
trap cleanup EXIT
trap 'exit 143' TERM INT

fail() {
    echo "FAIL: $*" >&2
    local shot="${TMPDIR:-/tmp}/kovrant-wayland-$mode-failure.png"
    if [ -n "${display:-}" ] && "${as_user[@]}" "${user_env[@]}" grim "$dir/failure.png" 2>/dev/null &&
        cp "$dir/failure.png" "$shot"; then
        echo "the screen as it was: $shot" >&2
    fi
    exit 1
}

as_user=()
if [ "$(id -u)" -eq 0 ]; then
    if ! id "$user" >/dev/null 2>&1; then
        useradd --system --user-group --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
    fi
    chown "$user:" "$dir"
    as_user=(setpriv "--reuid=$user" "--regid=$user" --init-groups)
fi
chmod 700 "$dir"
# The build tree may sit where the user cannot read; the game's pictures and fonts are compiled in.
install -m 755 "$program" "$dir/kovrant"
install -m 755 "$here/wl_input.py" "$dir/wl_input.py"
[ ${#as_user[@]} -gt 0 ] && chown "$user:" "$dir/kovrant" "$dir/wl_input.py"

{
    echo "xwayland disable"
    echo "output HEADLESS-1 resolution 1280x800"
    if [ "$mode" = no-focus ]; then
        echo "no_focus [app_id=\".*\"]"
        echo "focus_on_window_activation none"
    fi
} >"$dir/sway.conf"
chmod 644 "$dir/sway.conf"

user_env=(env -i "HOME=$dir" "XDG_RUNTIME_DIR=$dir" PATH=/usr/bin:/bin LANG=C.UTF-8)
"${as_user[@]}" "${user_env[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$dir/sway.conf" >"$dir/sway.log" 2>&1 &
sway_pid=$!

start=$(date +%s)
elapsed() { echo $(($(date +%s) - start)); }
# Polls a command until it succeeds, for a few seconds at most.
wait_until() {
    local what=$1
    shift
    local limit=$(($(date +%s) + deadline_s))
    until "$@"; do
        [ "$(date +%s)" -lt "$limit" ] || fail "$what (after $(elapsed) s)"
        kill -0 "$sway_pid" 2>/dev/null || fail "sway stopped: $what"
        sleep 0.2
    done
}
sockets_ready() {
    compgen -G "$dir/sway-ipc.*.sock" >/dev/null && compgen -G "$dir/wayland-[0-9]" >/dev/null
}
wait_until "sway did not open its sockets" sockets_ready
ipc=$(compgen -G "$dir/sway-ipc.*.sock")
display=$(basename "$(compgen -G "$dir/wayland-[0-9]")")
user_env+=("WAYLAND_DISPLAY=$display")

# No QT_QPA_PLATFORM (the test runner's offscreen stays out): the toolkit picks the platform as it
# would in a player's Wayland session, and xwayland is off, so only a native window can appear.
"${as_user[@]}" "${user_env[@]}" ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} \
    ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} "$dir/kovrant" >"$dir/game.log" 2>&1 &
game_pid=$!

# The game's windows as sway shows them, one a line: id, 1 if it has the keyboard, the client area's
# left, top, width and height on the output, then the application id and the kind of window.
windows() {
    "${as_user[@]}" "${user_env[@]}" swaymsg -s "$ipc" -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(node):
    if node.get("pid") == int(sys.argv[1]):
        r, w = node["rect"], node["window_rect"]
        print(node["id"], int(node["focused"]), r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"],
              node.get("app_id"), node.get("shell"))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))' "$game_pid"
}
window_count_is() { [ "$(windows | wc -l)" -eq "$1" ]; }
# True once the game shows exactly one window, other than the one given.
one_window_other_than() { window_count_is 1 && [ "$(windows | cut -d' ' -f1)" != "$1" ]; }
window() { windows | grep "^$1 "; }

# Where the window shows a point of its scene, scaled to fit and centred as the game draws it: prints
# the output's x and y. Arguments: the window's line, the scene's width and height, the point, in twips.
place() {
    /usr/bin/python3 -c '
import sys
x, y, w, h = (float(a) for a in sys.argv[3:7])
sw, sh, px, py = (float(a) for a in sys.argv[-4:])
scale = min(w / (sw / 15), h / (sh / 15))
dx, dy = round((w - sw / 15 * scale) / 2), round((h - sh / 15 * scale) / 2)
print(round(x + dx + px / 15 * scale), round(y + dy + py / 15 * scale))' $1 "$2" "$3" "$4" "$5"
}
# Whether the screen shows the stop sign's red in a square of the given half side around a point.
red_around() {
    local half=$3
    "${as_user[@]}" "${user_env[@]}" grim -g "$(($1 - half)),$(($2 - half)) $((2 * half))x$((2 * half))" -t ppm - |
        /usr/bin/python3 -c '
import sys
data = sys.stdin.buffer.read()
fields = data.split(maxsplit=4)
pixels = fields[4]
red = sum(1 for i in range(0, len(pixels), 3) if pixels[i] > 180 and pixels[i + 1] < 80 and pixels[i + 2] < 80)
sys.exit(0 if red >= 4 else 1)'
}
type_keys() { "${as_user[@]}" "${user_env[@]}" /usr/bin/python3 "$dir/wl_input.py" keys "$@"; }
click() { "${as_user[@]}" "${user_env[@]}" /usr/bin/python3 "$dir/wl_input.py" click "$1" "$2" 1280 800; }

# The scene of the exercise screen and its controls' centres, in twips.
big=(18960 10215)
arret_exercise=(960 9600)
arrow_exercise=(11040 9600)

wait_until "no window for the presentation screen" window_count_is 1
presentation=$(windows)
presentation_id=${presentation%% *}
echo "presentation screen after $(elapsed) s: $presentation"
# The desktop shows the game's name and icon by this id, the name of its desktop entry.
[ "$(echo "$presentation" | cut -d' ' -f7-)" = "fr.leskovrant.Kovrant xdg_shell" ] ||
    fail "not a native Wayland window of the application fr.leskovrant.Kovrant"

# Additions and subtractions: the focus starts on their box, Space ticks it, three Tabs reach the arrow
# and Enter starts the game.
type_keys space Tab Tab Tab Return
wait_until "the keyboard did not start the game" one_window_other_than "$presentation_id"
exercise=$(windows)
exercise_id=${exercise%% *}
echo "exercise screen after $(elapsed) s: $exercise"

read -r sx sy < <(place "$exercise" "${big[@]}" "${arret_exercise[@]}")
stop_shows() { red_around "$sx" "$sy" 12; }
stop_shows && fail "the stop sign shows during a question"
type_keys 5 0 0 0 Return
wait_until "the answer was not judged: no pause" stop_shows
echo "answer judged after $(elapsed) s"

# The pointer too: a click on the arrow of the pause poses the next question.
read -r ax ay < <(place "$exercise" "${big[@]}" "${arrow_exercise[@]}")
click "$ax" "$ay"
no_stop() { ! stop_shows; }
wait_until "the arrow of the pause did not pose a new question" no_stop

# Escape while keying opens the farewell screen, a new window.
type_keys Escape
wait_until "Escape did not open the farewell screen" window_count_is 2
farewell_window=$(windows | grep -v "^$exercise_id ")
echo "farewell screen after $(elapsed) s: $farewell_window"
if [ "$mode" = no-focus ] && [ "$(echo "$farewell_window" | cut -d' ' -f2)" = 1 ]; then
    fail "sway focused the new window: this run would not test the program's own routing"
fi

# The farewell screen takes the keys, its arrow focused: Enter ends the program. On the exercise behind,
# Enter would do nothing with no digits keyed.
type_keys Return
ended() { ! kill -0 "$game_pid" 2>/dev/null; }
wait_until "Enter on the farewell screen did not end the program" ended
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "the program exited with status $status"
echo "program ended with status 0 after $(elapsed) s ($mode)"

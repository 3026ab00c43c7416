#!/bin/bash
# Keys estimates on the exercise screen with the top row of French and Belgian keyboards, without Shift,
# through a real X server: xdotool presses the keys by their key codes (10 to 19 are the top row's 1 to 0)
# and the server's layout decides what they type ("&", "é", '"'... on French AZERTY).
#
# The game says nothing to the outside, so the test watches what a player sees: the arrow `flèche` of the
# exercise screen appears only once an answer has been judged, and Enter judges only an answer that has
# digits in it. Letters then Enter: no arrow; top-row keys then Enter: the arrow.
#
#   keyboards.sh KOVRANT    the program to run
set -euo pipefail

kovrant=$1
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

work=$(mktemp -d)
xvfb=
game=
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    import -window root "${TMPDIR:-/tmp}/kovrant-keyboards-failure.png" 2>/dev/null &&
        echo "the screen as it was: ${TMPDIR:-/tmp}/kovrant-keyboards-failure.png" >&2
    exit 1
}

# An X server of our own. -noreset: without it the server goes back to its first keymap as soon as its
# last client leaves, which setxkbmap is.
for n in 80 81 82 83 84; do
    [ -e "/tmp/.X$n-lock" ] && continue
    rm -f "$work/display"
    Xvfb ":$n" -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        [ -s "$work/display" ] || ! kill -0 "$xvfb" 2>/dev/null && break
        sleep 0.1
    done
    if [ -s "$work/display" ] && kill -0 "$xvfb" 2>/dev/null; then
        DISPLAY=:$(cat "$work/display")
        export DISPLAY
        break
    fi
    xvfb=
done
[ -n "$xvfb" ] || fail "no free display among :80 to :84"

layout() {
    setxkbmap "$1"
    # The symbol of the top row's 1 without Shift, as the server now has it.
    xkbcomp -w 0 "$DISPLAY" - 2>/dev/null | grep -A2 'key <AE01>' | grep -q "\[ *$2," ||
        fail "the X server did not take the $1 layout"
}

# The window's point for a point of the scene, in twips: the 18960 x 10215-twip client area is scaled to
# fit the window and centred in it, 15 twips to the pixel.
window=
at() {
    local geometry
    geometry=$(xdotool getwindowgeometry --shell "$window") || fail "the game's window went away"
    eval "$geometry"
    awk -v x="$1" -v y="$2" -v X="$X" -v Y="$Y" -v W="$WIDTH" -v H="$HEIGHT" 'BEGIN {
        sw = 18960 / 15; sh = 10215 / 15; s = W / sw < H / sh ? W / sw : H / sh
        printf "%d %d\n", X + int((W - sw * s) / 2 + 0.5) + x / 15 * s, Y + int((H - sh * s) / 2 + 0.5) + y / 15 * s
    }'
}

click() {
    # shellcheck disable=SC2046
    xdotool mousemove $(at "$1" "$2") click 1
}

# Whether the exercise screen's arrow shows: how dark the middle of its 480-twip square is.
arrow_shown() {
    local x0 y0 x1 y1 mean
    read -r x0 y0 < <(at 10920 9480)
    read -r x1 y1 < <(at 11160 9720)
    mean=$(import -window root -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" -colorspace gray -format '%[fx:mean]' info:)
    awk -v m="$mean" 'BEGIN { exit !(m < 0.85) }'
}

# The game's one visible window once it is another than $1. The welcome window, "accueil", only passes by;
# the presentation and exercise screens have no caption and take the program's name.
next_window() {
    local found
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible --pid "$game" --name '^Les Kovrant$' 2>/dev/null || true)
        # Once it has the keyboard too: without a window manager the game gives it itself.
        if [ "$(echo "$found" | grep -c .)" = 1 ] && [ "$found" != "$1" ] &&
            [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$found" ]; then
            window=$found
            return 0
        fi
        sleep 0.1
    done
    fail "no new window of the game"
}

# Polls for a bounded time: the game handles the keys on its own time.
expect_arrow() {
    local want=$1 what=$2
    for _ in $(seq 30); do
        if arrow_shown; then [ "$want" = shown ] && return 0; else [ "$want" = hidden ] && return 0; fi
        sleep 0.1
    done
    fail "$what: the arrow should be $want"
}

layout fr ampersand

"$kovrant" 2>"$work/stderr" &
game=$!
next_window none
sleep 0.5

# The presentation screen: tick the additions, then the arrow.
click 4200 6540
sleep 0.3
click 18480 9840
next_window "$window"
sleep 0.5
expect_arrow hidden "a new question"

# Enter alone, then letters and Enter: nothing is judged.
xdotool key Return
xdotool key a z e Return
expect_arrow hidden "fr, letters and Enter"
# The top row without Shift on AZERTY: & é " then Enter.
xdotool key 10 11 12 Return
expect_arrow shown "fr, & é \" and Enter"
# A top-row key ends the pause like any other key.
xdotool key 19
expect_arrow hidden "a top-row key in the pause"

# Belgian AZERTY, switched while the game runs: ! and à are 8 and 0.
layout be ampersand
sleep 0.3
xdotool key q s Return
expect_arrow hidden "be, letters and Enter"
xdotool key 17 19 Return
expect_arrow shown "be, ! à and Enter"

echo "fr and be: the top row without Shift types digits"

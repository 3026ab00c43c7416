#!/usr/bin/env bash
# A desktop session of our own, the one way the desktop tests and the benchmarks start a display: an X
# server (or a headless Wayland compositor), a D-Bus session bus with the accessibility bus on it, private
# settings folders, and everything gone again on exit.
#
# Run it:
#   session.sh [--displays FIRST-LAST] [--wm] [--sway focus|no-focus] [--program PATH] -- COMMAND [ARG...]
# starts the session (and the program, with the accessibility bridge on), runs COMMAND in it and exits
# with COMMAND's status, or with the program's when that ended by itself with an error. COMMAND sees
# DISPLAY and XVFB_PID (or WAYLAND_DISPLAY and SWAYSOCK with --sway, run as an ordinary user when
# started as root), DBUS_SESSION_BUS_ADDRESS, SESSION_DIR (a scratch folder removed on exit unless
# KEEP_SESSION=1), KOVRANT (the program's path) and, with --program, KOVRANT_PID. --wm: openbox manages
# the windows. SCREEN sets the X screen (default 1280x800x24). Exit status 77 when a tool is missing.
#
# Or source it and call the pieces: session_begin, session_xvfb, session_wm, session_bus, session_start.
# session_begin must come first: it installs the cleanup.

session_need() { # tool... -> returns 77 naming the first one missing
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1 && [ ! -x "$tool" ]; then
            echo "session: $tool is missing (scripts/setup-debian.sh --tests installs it)" >&2
            return 77
        fi
    done
}

# Polls COMMAND until it succeeds, for SECONDS at most (whole seconds); fails naming WHAT.
session_wait() { # seconds what command...
    local limit=$((SECONDS + $1)) what=$2
    shift 2
    until "$@"; do
        [ "$SECONDS" -le "$limit" ] || { echo "session: $what" >&2; return 1; }
        sleep 0.05
    done
}

# Every process of the session shares our process group, so that the helpers the buses start by
# themselves (the accessibility registry, speech modules) go with it: they outlive their parents.
session_stat() { # pid field -> the field of /proc/PID/stat after the name: 0 state, 1 parent, 2 group,
    local line fields # 3 session
    read -r line 2>/dev/null <"/proc/$1/stat" || return 1
    read -r -a fields <<<"${line##*) }"
    echo "${fields[$2]}"
}

session_members() { # the live ones, but for us and this listing
    local here=$BASHPID stat line pid fields
    for stat in /proc/[0-9]*/stat; do
        read -r line 2>/dev/null <"$stat" || continue
        pid=${line%% *}
        read -r -a fields <<<"${line##*) }"
        if [ "${fields[2]}" = "$session_group" ] && [ "${fields[0]}" != Z ] && [ "$pid" != $$ ] &&
            [ "$pid" != "$here" ]; then
            echo "$pid"
        fi
    done
}

session_gone() { # pid... -> whether none of them is left, but as a zombie
    local pid
    for pid in "$@"; do
        [ "$(session_stat "$pid" 0)" = Z ] || ! kill -0 "$pid" 2>/dev/null || return 1
    done
}

session_cleanup() {
    local status=$? pids
    trap '' TERM INT HUP
    # The program first, while its X server and buses still answer.
    if [ -n "${KOVRANT_PID:-}" ] && kill -TERM "$KOVRANT_PID" 2>/dev/null; then
        session_wait 2 "the program outlived its stop" session_gone "$KOVRANT_PID"
    fi
    pids=$(session_members)
    [ -n "$pids" ] && kill -TERM $pids 2>/dev/null
    # shellcheck disable=SC2046 # one argument a process
    session_wait 2 "killing what outlived the session" session_gone $(session_members) ||
        kill -KILL $(session_members) 2>/dev/null
    if [ "${KEEP_SESSION:-0}" = 1 ]; then
        echo "session: kept $SESSION_DIR" >&2
    else
        rm -rf "$SESSION_DIR"
    fi
    exit "$status"
}

# The scratch folder, private HOME and XDG folders (nothing touches the user's own settings), cleanup.
session_begin() {
    session_group=$(session_stat $$ 2)
    if [ "$session_group" != $$ ]; then
        echo "session: call session_lead first: the cleanup stops our whole process group" >&2
        exit 2
    fi
    SESSION_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kovrant-session.XXXXXX")
    export SESSION_DIR
    trap session_cleanup EXIT
    trap 'exit 143' TERM
    trap 'exit 130' INT
    mkdir -p "$SESSION_DIR"/{home,config,data,cache,runtime}
    chmod 700 "$SESSION_DIR/runtime"
    export HOME=$SESSION_DIR/home XDG_CONFIG_HOME=$SESSION_DIR/config XDG_DATA_HOME=$SESSION_DIR/data \
        XDG_CACHE_HOME=$SESSION_DIR/cache XDG_RUNTIME_DIR=$SESSION_DIR/runtime GSETTINGS_BACKEND=memory
    unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SESSION_MANAGER
    export PYTHONDONTWRITEBYTECODE=1
}

# Xvfb on the first free display of FIRST..LAST, its screen SCREEN (default 1280x800x24). Xvfb writes its
# number once it accepts connections, or dies when another server holds the display; exports DISPLAY
# and XVFB_PID. -noreset: the server keeps its keyboard layout when its last client leaves.
session_xvfb() {
    local first=$1 last=$2 n ready=$SESSION_DIR/xvfb-display
    session_need Xvfb || return
    for n in $(seq "$first" "$last"); do
        [ -e "/tmp/.X$n-lock" ] && continue
        rm -f "$ready"
        Xvfb ":$n" -displayfd 3 -screen 0 "${SCREEN:-1280x800x24}" -nolisten tcp -noreset 3>"$ready" \
            >"$SESSION_DIR/xvfb.log" 2>&1 &
        export XVFB_PID=$!
        session_wait 5 "Xvfb :$n did not start" eval '[ -s "$ready" ] || session_gone $XVFB_PID' 2>/dev/null
        if [ -s "$ready" ] && ! session_gone "$XVFB_PID"; then
            export DISPLAY=:$(cat "$ready")
            return 0
        fi
    done
    echo "session: no free X display in $first-$last" >&2
    return 1
}

# A session bus, and the accessibility bus on it: asking the bus for the accessibility bus's address
# starts it, as a desktop does at login. Exports DBUS_SESSION_BUS_ADDRESS.
session_bus() {
    session_need dbus-daemon dbus-send /usr/libexec/at-spi-bus-launcher || return
    dbus-daemon --session --nofork --address="unix:path=$SESSION_DIR/bus" --print-address=3 \
        3>"$SESSION_DIR/bus-address" >>"$SESSION_DIR/dbus.log" 2>&1 &
    session_wait 5 "the D-Bus session did not start" test -s "$SESSION_DIR/bus-address" || return
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$SESSION_DIR/bus-address")
    export DBUS_SESSION_BUS_ADDRESS
    dbus-send --session --print-reply --reply-timeout=5000 --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null 2>>"$SESSION_DIR/dbus.log" && return 0
    echo "session: the accessibility bus did not start" >&2
    return 1
}

# A headless sway in place of an X server, without Xwayland: exports WAYLAND_DISPLAY and SWAYSOCK. With
# "no-focus" sway gives new windows nothing and ignores activation requests, so that only the program's
# own routing brings the keys to the screen it has just shown.
session_sway() {
    session_need sway swaymsg || return
    unset DISPLAY
    {
        echo "xwayland disable"
        echo "output HEADLESS-1 resolution 1280x800"
        [ "$1" = no-focus ] && printf '%s\n' 'no_focus [app_id=".*"]' 'focus_on_window_activation none'
    } >"$SESSION_DIR/sway.conf"
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        session_start sway sway -c "$SESSION_DIR/sway.conf"
    session_wait 10 "sway did not start" eval 'compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]" >/dev/null &&
        SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock")' || return
    WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && compgen -G "wayland-[0-9]")
    export SWAYSOCK WAYLAND_DISPLAY
}

# openbox, once it manages the screen.
session_wm() {
    session_need openbox wmctrl || return
    session_start openbox openbox --sm-disable
    session_wait 10 "openbox did not start" eval 'wmctrl -m 2>/dev/null | grep -q Openbox'
}

# Starts a background process of the session, its output appended to SESSION_DIR/NAME.log; sets
# session_pid.
session_start() {
    local name=$1
    shift
    "$@" >>"$SESSION_DIR/$name.log" 2>&1 &
    session_pid=$!
}

# The program as the player starts it, on X, with the accessibility bridge on whether or not a screen
# reader asked for it. Exports KOVRANT_PID.
session_program() {
    local platform=QT_QPA_PLATFORM=xcb
    # On Wayland the toolkit picks the platform as it would in a player's session.
    [ -n "${WAYLAND_DISPLAY:-}" ] && platform=-uQT_QPA_PLATFORM
    session_start kovrant env "$platform" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$KOVRANT"
    export KOVRANT_PID=$session_pid
}

# When the program has ended by itself, its exit status (a crash on the way out is a failure); 0 while
# it still runs (the cleanup stops it).
session_program_status() {
    local status=0
    [ -n "${KOVRANT_PID:-}" ] && session_gone "$KOVRANT_PID" || return 0
    wait "$KOVRANT_PID" || status=$?
    unset KOVRANT_PID
    [ "$status" = 0 ] || { echo "session: the program ended with status $status; its output:" >&2 &&
        tail -n 20 "$SESSION_DIR/kovrant.log" >&2; }
    return "$status"
}

# A script that sources this file calls it first with its own path and arguments: the session is our
# process group, and nothing else may be in it (a pipe's other end, the caller's shell), so we start a
# new one; setsid -w passes our exit status on.
session_lead() {
    [ "$(session_stat $$ 3)" = $$ ] || exec setsid -w "$@"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -u
    session_lead "$0" "$@"
    first=70 last=74 wm=0 program='' sway='' arguments=("$@")
    while [ $# -gt 0 ]; do
        case $1 in
        --displays) first=${2%-*} last=${2#*-}; shift 2 ;;
        --sway) sway=$2; shift 2 ;;
        --wm) wm=1; shift ;;
        --program) program=$2; shift 2 ;;
        --) shift; break ;;
        *) echo "session: unknown option $1" >&2; exit 2 ;;
        esac
    done
    [ $# -gt 0 ] || { echo "usage: session.sh [--displays N-M] [--wm] [--sway MODE] [--program PATH] -- COMMAND" >&2; exit 2; }
    if [ -n "$sway" ] && [ "$(id -u)" = 0 ]; then
        # sway will not run as root: the session runs as an ordinary user of its own.
        user=${KOVRANT_SESSION_USER:-kovrant-session}
        id "$user" >/dev/null 2>&1 || useradd --system --user-group --no-create-home \
            --home-dir /nonexistent --shell /usr/sbin/nologin "$user" || exit
        # That user may not enter the folders of the build (a clone under /root): the session runs from a
        # copy of this script, of the program and of each script it is given, with that script's folder.
        stage=$(mktemp -d "${TMPDIR:-/tmp}/kovrant-sway.XXXXXX")
        cp "$0" "$stage/session.sh"
        staged=() n=0
        for a in "${arguments[@]}"; do
            if [ "$a" = "$program" ]; then
                cp "$program" "$stage/kovrant" && a=$stage/kovrant
            elif [ -f "$a" ] && case $a in /usr/* | /bin/*) false ;; esac; then
                n=$((n + 1))
                cp -r "$(dirname "$a")" "$stage/$n" && a=$stage/$n/$(basename "$a")
            fi
            staged+=("$a")
        done
        chmod -R a+rX "$stage"
        setpriv --reuid="$user" --regid="$user" --init-groups "$stage/session.sh" "${staged[@]}"
        status=$?
        rm -rf "$stage"
        exit "$status"
    fi
    session_begin
    if [ -n "$sway" ]; then session_sway "$sway"; else session_xvfb "$first" "$last"; fi || exit
    session_bus || exit
    [ "$wm" = 0 ] || session_wm || exit
    export KOVRANT=$program
    [ -z "$program" ] || [ -x "$program" ] || { echo "session: $program is not a program" >&2; exit 1; }
    [ -z "$program" ] || session_program
    "$@"
    status=$?
    session_program_status || exit
    exit "$status"
fi

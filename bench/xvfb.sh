# Sourced by the bench scripts: starts an X server of our own on a display well away from the ones people
# use. Xvfb writes its number once it accepts connections, or dies if another server holds the display.
#
#   start_xvfb DIR    sets xvfb (the server's pid) and exports DISPLAY; returns 1 when no display is free
start_xvfb() {
    local dir=$1 n
    xvfb=
    for n in $(seq 150 199); do
        [ -e "/tmp/.X$n-lock" ] && continue
        rm -f "$dir/display"
        Xvfb ":$n" -displayfd 3 -screen 0 "${SCREEN:-1280x720x24}" -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 100); do
            [ -s "$dir/display" ] || ! kill -0 "$xvfb" 2>/dev/null && break
            sleep 0.1
        done
        if [ -s "$dir/display" ] && kill -0 "$xvfb" 2>/dev/null; then
            export DISPLAY=:$(cat "$dir/display")
            return 0
        fi
        xvfb=
    done
    return 1
}

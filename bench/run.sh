#!/usr/bin/env bash
# Measures the game against the floor (the smallest Qt program of the same build) in one run and prints
# the figures as Markdown. Not part of the test suite; needs what the desktop tests need
# (scripts/setup-debian.sh --tests).
#
#   bench/run.sh [build-dir]       default build-bench, configured here as Release
#
# Environment: RUNS (start-up runs, default 11), IDLE_SECONDS (default 30), IDLE_RUNS (default 3), SCREEN
# (the X screen, default 1280x720x24).
set -euo pipefail
cd "$(dirname "$0")/.."
# The display comes from the desktop tests' session: our own process group, scratch folders, cleanup.
. scripts/session.sh
session_lead bench/run.sh "$@"
build=${1:-build-bench}
runs=${RUNS:-11}
idle=${IDLE_SECONDS:-30}

for tool in Xvfb /usr/bin/time; do
    if ! command -v "$tool" >/dev/null; then
        echo "missing $tool: apt-get install xvfb time" >&2
        exit 1
    fi
done

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOVRANT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target kovrant kovrant_bench_floor kovrant_bench_game kovrant_startup_probe \
    kovrant_bench_handlers >/dev/null
game=$build/src/app/kovrant
floor=$build/bench/kovrant_bench_floor
driver=$build/bench/kovrant_bench_game
probe=$build/bench/kovrant_startup_probe

export SCREEN=${SCREEN:-1280x720x24}
# Where the target's red ring shows on the presentation screen, asked of the program itself, in a
# session with the accessibility bus: the game's window size and the point in it, in pixels.
where=$(scripts/session.sh --program "$game" -- /usr/bin/python3 bench/target_point.py) ||
    { echo "could not ask the game where its target is" >&2; exit 1; }
read -r scene_w scene_h ring_x ring_y <<<"$where"

# The figures on an X server alone, away from the displays the tests take.
session_begin
out=$SESSION_DIR
start_x() { session_xvfb 150 199 || { echo "could not start Xvfb" >&2; exit 1; }; }
# Another program on the machine may stop our server; a figure is then taken again on a fresh one.
ensure_x() { kill -0 "$XVFB_PID" 2>/dev/null || { echo "Xvfb went away; starting another" >&2; start_x; }; }
start_x
export QT_QPA_PLATFORM=xcb

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# (a) Start-up: exec to the first red pixel of the target's red ring on the presentation screen, against
# exec to the floor's first white pixel at the same point.
probe() { # expected colour, program... -> milliseconds to the first expected pixel
    local ms tries=0
    until ms=$("$probe" "$scene_w" "$scene_h" "$ring_x" "$ring_y" "$@" | awk '{print $2}') && [ -n "$ms" ] &&
        kill -0 "$XVFB_PID" 2>/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -lt 3 ] || { echo "no start-up time for $*" >&2; exit 1; }
        ensure_x
    done
    echo "$ms"
}
for _ in $(seq "$runs"); do
    probe ff0000 20000 -- "$game" >>"$out/game"
    probe ffffff 20000 -- "$floor" >>"$out/floor"
done
start_game=$(median <"$out/game")
start_floor=$(median <"$out/floor")

# (b) Peak memory: a whole scripted game against the floor showing its window and leaving.
ensure_x
rss_game=$(/usr/bin/time -f %M "$driver" 2>&1 >/dev/null | tail -1)
rss_floor=$(/usr/bin/time -f %M "$floor" --exit-after-paint 2>&1 >/dev/null | tail -1)

# (c) Idle: processor time of the program and of the X server while a calculation waits with nobody at
# the keyboard (the 30th second judges it, so its blink is counted too), against the floor's window.
# Scheduler nanoseconds of every thread; the median of IDLE_RUNS windows, since other load on the
# machine inflates single readings.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s + 0}'; }
idle_cost() { # pid -> percent of one core for it, for Xvfb, and both, over $idle seconds
    local pid=$1 a b x y
    a=$(cpu_ns "$pid")
    x=$(cpu_ns "$XVFB_PID")
    sleep "$idle"
    b=$(cpu_ns "$pid")
    y=$(cpu_ns "$XVFB_PID")
    awk -v p=$((b - a)) -v s=$((y - x)) -v t="$idle" \
        'BEGIN {printf "%.3f %.3f %.3f\n", p / t / 1e7, s / t / 1e7, (p + s) / t / 1e7}'
}
for _ in $(seq "${IDLE_RUNS:-3}"); do
    ensure_x
    "$driver" --idle-seconds $((idle + 2)) >"$out/driver" &
    driver_pid=$!
    for _ in $(seq 300); do
        grep -q '^question$' "$out/driver" && break
        sleep 0.05
    done
    grep -q '^question$' "$out/driver" || { echo "the driver did not reach a calculation" >&2; exit 1; }
    idle_cost "$driver_pid" >>"$out/idle_game"
    wait "$driver_pid"
    "$floor" &
    floor_pid=$!
    sleep 2
    idle_cost "$floor_pid" >>"$out/idle_floor"
    kill "$floor_pid"
    wait "$floor_pid" 2>/dev/null || true
done
# The run whose total is the median.
read -r idle_game_self idle_game_x idle_game < <(sort -k3 -n "$out/idle_game" | awk '{l[NR] = $0} END {print l[int((NR + 1) / 2)]}')
read -r idle_floor_self idle_floor_x idle_floor < <(sort -k3 -n "$out/idle_floor" | awk '{l[NR] = $0} END {print l[int((NR + 1) / 2)]}')

# (d) Handlers: medians of 10 repetitions, on the X server like the figures above.
ensure_x
"$build/bench/kovrant_bench_handlers" --benchmark_repetitions=10 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median/ {gsub(/"/, "", $1); sub(/_median/, "", $1); printf "%s %.4g %s\n", $1, $3, $5}' \
        >"$out/handlers"
handler() { awk -v n="$1" '$1 == n {print $2 " " $3}' "$out/handlers"; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
verdict() { awk -v v="$1" -v limit="$2" 'BEGIN {print (v <= limit) ? "met" : "missed"}'; }
rss_game_mib=$(awk -v k="$rss_game" 'BEGIN {printf "%.1f", k / 1024}')
rss_floor_mib=$(awk -v k="$rss_floor" 'BEGIN {printf "%.1f", k / 1024}')
start_ratio=$(ratio "$start_game" "$start_floor")
cat <<EOF2
| Figure | Game | Floor | Target | Result |
|---|---|---|---|---|
| (a) start-up to the presentation's first pixels, median of $runs (ms) | $start_game | $start_floor | at most 1.5 x floor | $start_ratio x floor, $(verdict "$start_ratio" 1.5) |
| (b) peak RSS over a full game (MiB) | $rss_game_mib | $rss_floor_mib | at most 36 MiB | $(verdict "$rss_game_mib" 36) |
| (c) idle CPU over ${idle} s, program + X server (% of a core), median of ${IDLE_RUNS:-3} | $idle_game ($idle_game_self + $idle_game_x) | $idle_floor ($idle_floor_self + $idle_floor_x) | at most 0.5 % | $(verdict "$idle_game" 0.5) |
| (d) key to updated caption, median | $(handler keyToCaption) | | | |
| (d) judgement to pause display, median | $(handler judgementToPause) | | | |
| (d) one second of an idle calculation: clock tick and repaint (xcb), median | $(handler clockTick) | | | |
| (d) full repaint of the exercise window, scale 1, median | $(handler fullRepaint/1) | $(handler floorRepaint/1) | | |
| (d) full repaint of the exercise window, scale 2, median | $(handler fullRepaint/2) | $(handler floorRepaint/2) | | |
EOF2

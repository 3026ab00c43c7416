#!/usr/bin/env bash
# A whole scripted game under valgrind memcheck: fails on any definitely or indirectly lost byte and on
# any memory error outside the reviewed suppressions (bench/valgrind.supp).
#
#   bench/memcheck.sh [build-dir]      default build-memcheck, configured here as Debug
#
# Runs on the xcb platform under Xvfb when Xvfb is installed, else offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-memcheck}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOVRANT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target kovrant_bench_game >/dev/null

work=$(mktemp -d)
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen
cleanup() { rm -rf "$work"; }
if command -v Xvfb >/dev/null; then
    # A display of our own, away from the ones people use (see bench/run.sh).
    for n in $(seq 150 199); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 100); do
            [ -s "$work/display" ] || ! kill -0 "$xvfb" 2>/dev/null && break
            sleep 0.1
        done
        if [ -s "$work/display" ] && kill -0 "$xvfb" 2>/dev/null; then
            cleanup() { kill "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
            export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb
            break
        fi
    done
fi
trap cleanup EXIT

valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --error-exitcode=1 --num-callers=40 \
    --suppressions=bench/valgrind.supp "$build/bench/kovrant_bench_game"
echo "memcheck: no leak and no memory error ($QT_QPA_PLATFORM)"

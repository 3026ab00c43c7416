#!/usr/bin/env bash
# A whole scripted game under valgrind memcheck: fails on any definitely or indirectly lost byte and on
# any memory error outside the reviewed suppressions (bench/valgrind.supp).
#
#   bench/memcheck.sh [build-dir]      default build-memcheck, configured here as Debug
#
# Runs on the xcb platform under Xvfb when Xvfb is installed, else offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/session.sh
session_lead bench/memcheck.sh "$@"
build=${1:-build-memcheck}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOVRANT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target kovrant_bench_game >/dev/null

session_begin
export QT_QPA_PLATFORM=offscreen
if command -v Xvfb >/dev/null && session_xvfb 150 199; then
    export QT_QPA_PLATFORM=xcb
fi

valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --error-exitcode=1 --num-callers=40 \
    --suppressions=bench/valgrind.supp "$build/bench/kovrant_bench_game"
echo "memcheck: no leak and no memory error ($QT_QPA_PLATFORM)"

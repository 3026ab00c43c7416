#!/usr/bin/env bash
# Evidence that a child cannot break the game: builds the libFuzzer target (clang, AddressSanitizer,
# UBSan) and fuzzes it for about 20 seconds. The monkey test already runs in ctest, sanitizers included;
# the benchmarks (bench/run.sh) and valgrind (bench/memcheck.sh) are run by hand, not here.
#
#   .ci/evidence.sh [build-dir]      default build-fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-20}

missing=()
for package in clang-14 libclang-rt-14-dev cmake ninja-build qt6-base-dev qt6-svg-dev; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "== Installing ${missing[*]}"
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

echo "== Fuzz target"
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKOVRANT_WERROR=ON
cmake --build "$build" --target kovrant_fuzz

echo "== Fuzzing for ${seconds} s"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -m 700 "$corpus/runtime"
# Qt and fontconfig keep one-time allocations until exit; leaks are valgrind's job (bench/memcheck.sh).
XDG_RUNTIME_DIR=$corpus/runtime QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/kovrant_fuzz" -detect_leaks=0 -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/" "$corpus"

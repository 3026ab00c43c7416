#!/bin/sh
# Installs what is missing, builds Les Kovrant with warnings as errors and runs every test offscreen.
#
#   ./test.sh             the everyday command
#   ./test.sh --windows   that, then the Windows build: Qt for Windows from its cache (built the first
#                         time, 20 to 90 minutes), the game and its installer cross-built with warnings as
#                         errors, and the tests labelled `windows` under Wine
set -eu
cd "$(dirname "$0")"
windows=0
case "${1:-}" in
--windows) windows=1 ;;
"") ;;
*) echo "usage: ./test.sh [--windows]" >&2; exit 2 ;;
esac
./scripts/setup-debian.sh --tests
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRANT_WERROR=ON
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 600
if [ "$windows" = 0 ]; then
    echo "The Windows build and its tests under Wine: ./test.sh --windows"
    exit 0
fi

qt=$(./scripts/build-qt-windows.sh | tail -n 1)
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOVRANT_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_PREFIX_PATH="$qt"
cmake --build build-windows
ctest --test-dir build-windows --output-on-failure --timeout 600 -L windows

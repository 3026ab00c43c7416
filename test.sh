#!/bin/sh
# Installs what is missing, builds Les Kovrant with warnings as errors and runs every test offscreen.
set -eu
cd "$(dirname "$0")"
./scripts/setup-debian.sh --tests
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRANT_WERROR=ON
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --timeout 600

#!/bin/sh
# Installs what is missing, builds Les Kovrant and starts it.
set -eu
cd "$(dirname "$0")"
./scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
exec ./build/src/app/kovrant

#!/bin/sh
# Builds Qt 6.4.2 for Windows x86-64 (qtbase and Qt SVG, shared, Release) with Debian's MinGW-w64, into a
# cache outside the clone, and reuses it when it is already there. Runs unattended, as root or through
# sudo; installs the Debian packages it and the Windows build of the game need.
#
#   scripts/build-qt-windows.sh            builds the cache when missing; its last line of output is
#                                          the Qt prefix to give the game's build as CMAKE_PREFIX_PATH
#   scripts/build-qt-windows.sh --prefix   prints that prefix only, without building anything
#
# Environment:
#   KOVRANT_QT_CACHE    the parent folder of the caches (default /var/cache/kovrant)
#   KOVRANT_QT_WINDOWS  the Qt prefix itself, overriding the one named after the version and configuration
#   KOVRANT_JOBS        parallel compile jobs (default 2; the build runs under nice -n 19)
#
# Sources: qtbase is Debian's own source package of the machine's Qt (apt-get source qt6-base, from a
# deb-src entry this script adds for the machine's suites); Qt SVG is the upstream tarball vendored beside
# the clone (../shared/vendor, or KOVRANT_VENDOR), checked against its checksum. On a machine with the
# internet, Qt's release tarballs (qtbase- and qtsvg-everywhere-src-6.4.2.tar.xz from download.qt.io) serve
# equally: unpack qtbase to "$work/qtbase" and this script takes it from there.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
qt_version=6.4.2
svg_tarball=qtsvg-everywhere-src-$qt_version.tar.xz
svg_sha256=b7f5c33044bc14926e9d7f3de46591e84ea943bb937592a5258fdfbd7f392cc6
jobs=${KOVRANT_JOBS:-2}

# The smallest Qt the game and its tests need: Core, Gui, Widgets, Test and Svg with the Windows platform
# plugin, the Windows styles and the offscreen platform. Direct2D stays on, because without it 6.4.2's
# qwindows.dll fails to link; the offscreen platform needs the bundled FreeType. The Debian source lacks
# 3rdparty/wintab, hence no tablet events.
qt_options="-DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release \
-DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
-DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_testlib=ON -DFEATURE_freetype=ON -DFEATURE_direct2d=ON \
-DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_printsupport=OFF -DFEATURE_dbus=OFF \
-DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF \
-DFEATURE_tabletevent=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF \
-DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_zstd=OFF -DFEATURE_qmake=OFF \
-DFEATURE_androiddeployqt=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_direct2d1_1=OFF \
-DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
-DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF"
toolchain=$here/cmake/mingw-w64-x86_64.cmake

# The cache is named after everything that changes what gets built.
key=$( (echo "$qt_version $svg_sha256 $qt_options"; cat "$toolchain") | sha256sum | cut -c1-10)
cache=${KOVRANT_QT_CACHE:-/var/cache/kovrant}
prefix=${KOVRANT_QT_WINDOWS:-$cache/qt-$qt_version-mingw-$key}
stamp=$prefix/.kovrant-complete

if [ "${1:-}" = "--prefix" ]; then
    echo "$prefix"
    exit 0
fi

say() { echo "build-qt-windows: $*" >&2; }
started=$(date +%s)
if [ -f "$stamp" ]; then
    say "Qt $qt_version for Windows already built in $prefix"
    echo "$prefix"
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then as_root=""; else as_root="sudo"; fi
mkdir -p "$cache" 2>/dev/null || $as_root install -d -o "$(id -u)" -g "$(id -g)" "$cache"
work=$cache/work-$key
mkdir -p "$work"
log=$cache/qt-$qt_version-mingw-$key.log
: >"$log"
say "building Qt $qt_version for Windows into $prefix (log: $log)"

run() { # a step whose output goes to the log; on failure the log's end is shown
    echo "+ $*" >>"$log"
    if ! "$@" >>"$log" 2>&1; then
        say "failed: $*"
        tail -n 40 "$log" >&2
        exit 1
    fi
}

# The packages: the cross compiler, the build machine's Qt tools, and what builds, packs and tests the
# game for Windows (Wine, NSIS, zip).
say "Debian packages"
KOVRANT_EXTRA_PACKAGES="g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 qt6-base-dev-tools qt6-base-dev \
cmake ninja-build dpkg-dev xz-utils wine wine64 nsis zip ${KOVRANT_EXTRA_PACKAGES:-}" \
    run "$here/scripts/setup-debian.sh"

svg=${KOVRANT_VENDOR:-$here/../shared/vendor}/$svg_tarball
[ -f "$svg" ] || svg=/work/shared/vendor/$svg_tarball
if [ ! -f "$svg" ]; then
    say "$svg_tarball is missing: put it in ../shared/vendor or name its folder in KOVRANT_VENDOR"
    exit 1
fi
if [ "$(sha256sum "$svg" | cut -d' ' -f1)" != "$svg_sha256" ]; then
    say "$svg does not match its checksum $svg_sha256"
    exit 1
fi

if [ ! -d "$work/qtbase" ]; then
    say "qtbase source from Debian"
    # deb-src entries for the suites the machine already uses, unless it has some.
    if ! grep -rqs '^\(Types:.*\)\?deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
                $as_root tee /etc/apt/sources.list.d/kovrant-src.sources >/dev/null
        else
            grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
                $as_root tee /etc/apt/sources.list.d/kovrant-src.list >/dev/null
        fi
    fi
    run $as_root apt-get update -q
    rm -rf "$work/debian-source"
    mkdir -p "$work/debian-source"
    (cd "$work/debian-source" && run apt-get source -q "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed 's/+b[0-9]*$//')")
    mv "$work/debian-source"/qt6-base-*/ "$work/qtbase"
    rm -rf "$work/debian-source"
fi
if [ ! -d "$work/qtsvg" ]; then
    mkdir -p "$work/qtsvg"
    run tar -xJf "$svg" -C "$work/qtsvg" --strip-components=1
fi

# The toolchain file goes with the Qt it built: Qt's own toolchain file loads it from there.
mkdir -p "$prefix/lib/cmake"
cp "$toolchain" "$prefix/lib/cmake/mingw-w64-x86_64.cmake"

say "qtbase: configure"
# shellcheck disable=SC2086 # the options are words
run cmake -S "$work/qtbase" -B "$work/build-qtbase" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/mingw-w64-x86_64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake $qt_options
say "qtbase: build with $jobs jobs under nice (the long step: 15-40 minutes)"
run nice -n 19 cmake --build "$work/build-qtbase" --parallel "$jobs"
run cmake --install "$work/build-qtbase"

say "Qt SVG"
run cmake -S "$work/qtsvg" -B "$work/build-qtsvg" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
run nice -n 19 cmake --build "$work/build-qtsvg" --parallel "$jobs"
run cmake --install "$work/build-qtsvg"

echo "$qt_version $key" >"$stamp"
rm -rf "$work"
say "Qt $qt_version for Windows ready in $(($(date +%s) - started)) s ($(du -sh "$prefix" | cut -f1))"
echo "$prefix"

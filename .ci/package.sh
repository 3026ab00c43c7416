#!/usr/bin/env bash
# Builds the Debian package of Les Kovrant as a release would, checks it the way Debian does (desktop
# entry, AppStream metainfo, lintian), installs it, starts the installed program once, and removes it
# again. Also checks that the screenshots come out the same, pixel for pixel, from one run to the next.
# Runs unattended on Debian 12, as root or through sudo; installs only what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-package
app_id=fr.leskovrant.Kovrant

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
else
    as_root=(sudo)
fi

echo "== Tools"
needed=(desktop-file-utils appstream lintian dpkg-dev file shared-mime-info xdg-utils libfile-mimeinfo-perl)
missing=()
for p in "${needed[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
./scripts/setup-debian.sh

echo "== Release build with Debian's hardening flags"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKOVRANT_BUILD_TESTS=OFF -DKOVRANT_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" -j2

echo "== Desktop entry and AppStream metainfo"
desktop-file-validate "packaging/$app_id.desktop"
appstreamcli validate --no-net "packaging/$app_id.metainfo.xml"
stage="$build/stage"
rm -rf "$stage"
DESTDIR="$PWD/$stage" cmake --install "$build" --prefix /usr >/dev/null
# The installed tree as software centres read it: metainfo, desktop entry and icons together.
appstreamcli validate-tree --no-net "$stage"

echo "== Screenshots: the same seed gives the same pixels"
shots_a=$(mktemp -d)
shots_b=$(mktemp -d)
trap 'rm -rf "$shots_a" "$shots_b"' EXIT
QT_QPA_PLATFORM=offscreen "$build/tools/screenshots/kovrant-screenshots" "$shots_a"
QT_QPA_PLATFORM=offscreen "$build/tools/screenshots/kovrant-screenshots" "$shots_b"
(cd "$shots_a" && sha256sum ./*.png) >"$shots_a.sums"
(cd "$shots_b" && sha256sum ./*.png) >"$shots_b.sums"
if ! diff -u "$shots_a.sums" "$shots_b.sums"; then
    echo "Two runs of kovrant-screenshots gave different pictures." >&2
    exit 1
fi
if ! (cd docs/screenshots && sha256sum --quiet -c "$shots_a.sums"); then
    echo "warning: docs/screenshots is out of date; refresh it with 'cmake --build <dir> --target screenshots'." >&2
fi
rm -f "$shots_a.sums" "$shots_b.sums"

echo "== Debian package"
rm -f "$build"/kovrant_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/kovrant_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

echo "== lintian"
lintian --info --display-info --fail-on error,warning "$deb"

echo "== Install, start once, remove"
cleanup() {
    rm -rf "$shots_a" "$shots_b"
    if dpkg-query -W -f='${Status}' kovrant 2>/dev/null | grep -q "install ok installed"; then
        DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get remove -y -q kovrant >/dev/null
    fi
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --reinstall "./$deb"

for f in /usr/bin/kovrant \
    "/usr/share/applications/$app_id.desktop" \
    "/usr/share/metainfo/$app_id.metainfo.xml" \
    "/usr/share/mime/packages/$app_id.xml" \
    "/usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    /usr/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$app_id.png \
    /usr/share/man/man6/kovrant.6.gz \
    /usr/share/doc/kovrant/copyright; do
    if [ ! -e "$f" ]; then
        echo "missing after installation: $f" >&2
        exit 1
    fi
done
desktop-file-validate "/usr/share/applications/$app_id.desktop"

# A séance file is of the game's type, and that type opens in the game, as a double click or xdg-open
# does it. A fresh home, so that no one's own associations answer instead.
echo "== The séance files' type"
mime_home=$(mktemp -d)
printf 'titre = essai\n12 + 13\n' >"$mime_home/maths.kovrant"
type=$(HOME="$mime_home" XDG_DATA_HOME="$mime_home/share" XDG_CONFIG_HOME="$mime_home/config" \
    xdg-mime query filetype "$mime_home/maths.kovrant")
default=$(HOME="$mime_home" XDG_DATA_HOME="$mime_home/share" XDG_CONFIG_HOME="$mime_home/config" \
    xdg-mime query default application/x-kovrant)
rm -rf "$mime_home"
if [ "$type" != "application/x-kovrant" ] || [ "$default" != "$app_id.desktop" ]; then
    echo "a .kovrant file is '$type', opened by '$default'; expected application/x-kovrant and $app_id.desktop" >&2
    exit 1
fi
if ! grep -q '^MimeType=application/x-kovrant;' "/usr/share/applications/$app_id.desktop" ||
    ! grep -q '^Exec=kovrant %f' "/usr/share/applications/$app_id.desktop"; then
    echo "the installed desktop entry does not open séance files" >&2
    exit 1
fi
echo "A .kovrant file is application/x-kovrant and opens in $app_id.desktop."

# Its help needs no display; then it is started as a desktop would start it and must still be
# running, on its presentation screen, when the timeout stops it.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/kovrant --help)
if [[ $help != *"--temps"* ]]; then
    echo "the installed program's --help does not explain --temps" >&2
    exit 1
fi
status=0
QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/kovrant || status=$?
if [ "$status" -ne 124 ]; then
    echo "the installed program stopped by itself within 5 seconds (status $status)" >&2
    exit 1
fi
echo "The installed program was still running after 5 seconds, as it should."

DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get remove -y -q kovrant
if [ -e /usr/bin/kovrant ]; then
    echo "/usr/bin/kovrant is still there after removal" >&2
    exit 1
fi
echo "== Package checks passed: $deb"

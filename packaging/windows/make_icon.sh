#!/bin/sh
# Remakes kovrant.ico, the program's icon on Windows, from the one drawing: the Linux build renders the
# sizes, and they are packed as PNG entries, which Windows reads since Vista.
#
#   packaging/windows/make_icon.sh BUILD    BUILD: a Linux build folder (cmake --build BUILD first)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sizes="16 24 32 48 64 128 256"
# shellcheck disable=SC2086
"$1/packaging/kovrant-render-icon" "$here/../../resources/pictures/kovrant.svg" "$work" kovrant $sizes
# shellcheck disable=SC2086
python3 - "$here/kovrant.ico" "$work" $sizes <<'PY'
import struct, sys
out, folder, sizes = sys.argv[1], sys.argv[2], [int(s) for s in sys.argv[3:]]
images = [open(f"{folder}/{s}x{s}/apps/kovrant.png", "rb").read() for s in sizes]
data = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
for size, png in zip(sizes, images):
    data += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png), offset)
    offset += len(png)
open(out, "wb").write(data + b"".join(images))
PY

#!/bin/sh
# Remakes welcome.bmp, the picture of the installer's welcome and finish pages (164 x 314, as NSIS's Modern
# UI wants it), from the one drawing: the Linux build renders the icon, which is laid on the pale orange of
# the game's title box. Kept in the repository like kovrant.ico: the Windows build is a cross build, which
# has no program of its own to render an SVG with.
#
#   packaging/windows/make_welcome.sh BUILD    BUILD: a Linux build folder (cmake --build BUILD first)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1/packaging/kovrant-render-icon" "$here/../../resources/pictures/kovrant.svg" "$work" kovrant 136
python3 - "$here/welcome.bmp" "$work/136x136/apps/kovrant.png" <<'PY'
import struct, sys, zlib

def rgba_png(path):
    """The pixels of an 8-bit RGBA, non-interlaced PNG, as rows of (r, g, b, a)."""
    data = open(path, "rb").read()
    pos, chunks = 8, {}
    while pos < len(data):
        size, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunks[kind] = chunks.get(kind, b"") + data[pos + 8:pos + 8 + size]
        pos += 12 + size
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    assert (depth, colour, interlace) == (8, 6, 0), "an 8-bit RGBA PNG without interlacing"
    raw, stride, rows, previous = zlib.decompress(chunks[b"IDAT"]), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b, c = previous[i], previous[i - 4] if i >= 4 else 0
            if kind == 1: line[i] = (line[i] + a) & 255
            elif kind == 2: line[i] = (line[i] + b) & 255
            elif kind == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        previous = line
    return rows

out, icon = sys.argv[1], rgba_png(sys.argv[2])
WIDTH, HEIGHT, BACK = 164, 314, (0xFF, 0xE0, 0xC0)  # the title box's pale orange
left, top = (WIDTH - len(icon[0])) // 2, (HEIGHT - len(icon)) // 2
pixels = [[BACK] * WIDTH for _ in range(HEIGHT)]
for y, row in enumerate(icon):
    for x, (r, g, b, a) in enumerate(row):
        pixels[top + y][left + x] = tuple((v * a + k * (255 - a)) // 255 for v, k in zip((r, g, b), BACK))
body = b"".join(bytes(c for p in row for c in (p[2], p[1], p[0])) for row in reversed(pixels))
# 164 * 3 is a multiple of 4: no padding at the rows' ends.
header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(body), 3780, 3780, 0, 0)
open(out, "wb").write(header + info + body)
PY

#!/usr/bin/python3
"""Packs the Windows icon from the icon theme's PNG images, largest first.

    pack-ico.py OUT.ico IMAGE.png...
Images of 128 pixels and more go in as PNG, as Windows reads them since Vista; smaller ones as
32-bit bitmaps with their mask, which every tool that shows a small icon reads. Each PNG must be
8-bit RGBA, not interlaced (what render-resources.sh makes). The same images give the same file.
"""
import struct
import sys
import zlib


def rgba_rows(png):
    """The rows of an 8-bit RGBA PNG, top first, each a bytes of width * 4."""
    assert png[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, idat, header = 8, b"", None
    while at < len(png):
        length, kind = struct.unpack_from(">I4s", png, at)
        data = png[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", data)
        elif kind == b"IDAT":
            idat += data
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and colour == 6 and interlace == 0, "not 8-bit RGBA, not interlaced"
    raw, stride, rows, previous = zlib.decompress(idat), width * 4, [], bytes(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up, corner = previous[x], previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[x] = (line[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def bitmap(png):
    """The image as an icon's 32-bit bitmap: BGRA rows bottom first, then the AND mask."""
    width, height, rows = rgba_rows(png)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, width * height * 4, 0, 0,
                         0, 0)
    pixels = b"".join(bytes(v for i in range(0, len(row), 4)
                            for v in (row[i + 2], row[i + 1], row[i], row[i + 3]))
                      for row in reversed(rows))
    mask_stride = ((width + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(width):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def main():
    out, images = sys.argv[1], [open(name, "rb").read() for name in sys.argv[2:]]
    entries, blobs = [], []
    for png in images:
        width, height = struct.unpack_from(">II", png, 16)
        blobs.append(png if width >= 128 else bitmap(png))
        entries.append((width, height))
    offset = 6 + 16 * len(images)
    data = struct.pack("<HHH", 0, 1, len(images))
    for (width, height), blob in zip(entries, blobs):
        data += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    open(out, "wb").write(data + b"".join(blobs))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""The Windows programs' pictures from the committed PNG artwork, made at build time.

    windows_resources.py ico OUT.ico IN1.png IN2.png ...   an icon holding each PNG as one image
    windows_resources.py bmp OUT.bmp IN.png                an 8-bit palette PNG as a BMP

Icons hold PNG images directly (as icons may since Windows Vista). The banner, a palette PNG,
is decoded here (zlib and the five PNG row filters) and written as an 8-bit bottom-up BMP, the
form a dialog's picture control shows. Only the standard library is used.
"""
import struct
import sys
import zlib


def png_chunks(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG file")
    at = 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def png_size(data):
    for kind, body in png_chunks(data):
        if kind == b"IHDR":
            return struct.unpack(">II", body[:8])
    raise SystemExit("PNG without IHDR")


def write_ico(out, pngs):
    images = [open(name, "rb").read() for name in pngs]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory = b""
    for image in images:
        width, height = png_size(image)
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                                 len(image), offset)
        offset += len(image)
    with open(out, "wb") as file:
        file.write(header + directory + b"".join(images))


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def write_bmp(out, png):
    data = open(png, "rb").read()
    palette = b""
    compressed = b""
    for kind, body in png_chunks(data):
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour != 3 or interlace != 0:
                raise SystemExit("the banner must be an 8-bit palette PNG without interlace")
        elif kind == b"PLTE":
            palette = body
        elif kind == b"IDAT":
            compressed += body
    raw = zlib.decompress(compressed)
    rows = []
    previous = bytearray(width)
    for y in range(height):
        line = raw[y * (width + 1):(y + 1) * (width + 1)]
        kind, row = line[0], bytearray(line[1:])
        for x in range(width):
            left = row[x - 1] if x > 0 else 0
            up = previous[x]
            corner = previous[x - 1] if x > 0 else 0
            predictor = [0, left, up, (left + up) // 2, paeth(left, up, corner)][kind]
            row[x] = (row[x] + predictor) % 256
        rows.append(bytes(row))
        previous = row
    colours = len(palette) // 3
    table = b"".join(bytes([palette[3 * k + 2], palette[3 * k + 1], palette[3 * k], 0])
                     for k in range(colours))
    stride = (width + 3) // 4 * 4
    pixels = b"".join(row + b"\0" * (stride - width) for row in reversed(rows))
    offset = 14 + 40 + len(table)
    with open(out, "wb") as file:
        file.write(struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset))
        file.write(struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835,
                               2835, colours, colours))
        file.write(table + pixels)


if __name__ == "__main__":
    if len(sys.argv) >= 4 and sys.argv[1] == "ico":
        write_ico(sys.argv[2], sys.argv[3:])
    elif len(sys.argv) == 4 and sys.argv[1] == "bmp":
        write_bmp(sys.argv[2], sys.argv[3])
    else:
        raise SystemExit(__doc__)

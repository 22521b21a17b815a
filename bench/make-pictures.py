#!/usr/bin/env python3
"""Writes test pictures of a given kind and size for the memory benchmark, with no imaging
library: PNG (grey, RGB, RGBA, palette; 8 or 16 bits a channel; 16-bit ones also interlaced or
colour-keyed), GIF and BMP. The content is a cheap pattern, which also keeps the files small."""
import struct
import sys
import zlib


# Adam7's passes: first column and row, then the steps between them.
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def png(path, width, height, colour_type, depth, interlaced=False, keyed=False):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    sample = depth // 8
    passes = ADAM7 if interlaced else [(0, 0, 1, 1)]

    def rows():
        for left, top, across, down in passes:
            columns = (width - left + across - 1) // across
            if columns <= 0:
                continue
            for y in range(top, height, down):
                value = (y * 255 // max(1, height - 1)) & 0xFF
                yield bytes([0]) + bytes([value]) * (columns * channels * sample)

    compressor = zlib.compressobj(6)
    data = bytearray()
    for row in rows():
        data += compressor.compress(row)
    data += compressor.flush()

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0,
                                             1 if interlaced else 0)))
        if colour_type == 3:
            out.write(chunk(b"PLTE", bytes(i % 256 for i in range(768))))
        if keyed:  # the first row's colour is transparent
            out.write(chunk(b"tRNS", bytes(2 * (3 if colour_type == 2 else 1))))
        out.write(chunk(b"IDAT", bytes(data)))
        out.write(chunk(b"IEND", b""))


def gif(path, width, height):
    # One grey level, coded as a real LZW encoder codes it: each code one pixel longer than the
    # last until the table is full, then the longest one over and over. Small, and quick to write.
    def codes():
        yield 256
        yield 128
        left, code = width * height - 1, 258
        while left > 0:
            length = min(code - 256, left) if code < 4096 else min(3839, left)
            yield length + 256 if length > 1 else 128
            left -= length
            code += 1
        yield 257

    data, bits, nbits, size, table, first = bytearray(), 0, 0, 9, 258, True
    for code in codes():
        bits |= code << nbits
        nbits += size
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
        if code == 256:
            size, table, first = 9, 258, True
            continue
        if not first and table < 4096:
            table += 1
            if table == 1 << size and size < 12:
                size += 1
        first = False
    if nbits:
        data.append(bits & 0xFF)
    with open(path, "wb") as out:
        out.write(b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF7, 0, 0))
        out.write(bytes(i % 256 for i in range(768)))
        out.write(b"," + struct.pack("<HHHHB", 0, 0, width, height, 0) + b"\x08")
        for i in range(0, len(data), 255):
            block = data[i:i + 255]
            out.write(bytes([len(block)]) + block)
        out.write(b"\x00;")


def bmp(path, width, height):
    row = width * 3 + (-width * 3) % 4
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IIIIiiHHIIiiII", 54 + row * height, 0, 54, 40, width, height,
                                      1, 24, 0, row * height, 2835, 2835, 0, 0))
        for y in range(height):
            out.write(bytes([y & 0xFF]) * row)


def main(kind, path, width, height):
    width, height = int(width), int(height)
    kinds = {
        "png-grey8": lambda: png(path, width, height, 0, 8),
        "png-grey16": lambda: png(path, width, height, 0, 16),
        "png-rgb8": lambda: png(path, width, height, 2, 8),
        "png-rgb16": lambda: png(path, width, height, 2, 16),
        "png-rgba8": lambda: png(path, width, height, 6, 8),
        "png-rgba16": lambda: png(path, width, height, 6, 16),
        "png-rgb16-interlaced": lambda: png(path, width, height, 2, 16, interlaced=True),
        "png-rgba16-interlaced": lambda: png(path, width, height, 6, 16, interlaced=True),
        "png-rgb16-keyed": lambda: png(path, width, height, 2, 16, keyed=True),
        "png-palette": lambda: png(path, width, height, 3, 8),
        "gif": lambda: gif(path, width, height),
        "bmp": lambda: bmp(path, width, height),
    }
    kinds[kind]()


if __name__ == "__main__":
    main(*sys.argv[1:])

#!/usr/bin/env python3
"""Writes a 24-bit bottom-up BMP of the given size, photo-like gradients with grain, row by row,
so that even a 16384 x 16384 picture (768 MiB) is written quickly and without holding it:
bench/make-bmp.py OUT WIDTH HEIGHT"""
import struct
import sys


def main(path, width, height):
    row_bytes = (width * 3 + 3) // 4 * 4
    offset = 14 + 40
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", offset + row_bytes * height, 0, 0, offset))
        out.write(struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, row_bytes * height,
                              2835, 2835, 0, 0))
        # A few distinct rows, repeated: the converter cannot tell, and writing stays fast.
        rows = []
        for r in range(7):
            row = bytearray(row_bytes)
            for x in range(width):
                row[3 * x] = (x * 255 // width + 37 * r) % 256
                row[3 * x + 1] = (x * 7 + r * 29) % 256
                row[3 * x + 2] = (x // 64 * 13 + r * 50) % 256
            rows.append(bytes(row))
        for y in range(height):
            out.write(rows[y * 7 // height if height >= 7 else y % 7])


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]))

#!/usr/bin/env python3
"""Writes a photo-like PPM (smooth gradients with fine grain) of the given size, by tiling a
small generated patch, so that the benchmark needs no downloaded picture."""
import sys

TILE_W, TILE_H = 600, 400


def tile():
    rows, seed = [], 12345
    for y in range(TILE_H):
        row = bytearray(TILE_W * 3)
        for x in range(TILE_W):
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            grain = (seed >> 16) % 24 - 12
            row[3 * x] = max(0, min(255, x * 255 // TILE_W + grain))
            row[3 * x + 1] = max(0, min(255, y * 255 // TILE_H + grain))
            row[3 * x + 2] = max(0, min(255, 128 + ((x * y) >> 9) % 96 - 48 + grain))
        rows.append(bytes(row))
    return rows


def main(path, width, height):
    patch = tile()
    with open(path, "wb") as out:
        out.write(b"P6\n%d %d\n255\n" % (width, height))
        repeats = -(-width // TILE_W)
        wide = [(r * repeats)[: width * 3] for r in patch]
        for y in range(height):
            out.write(wide[y % TILE_H])


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]))

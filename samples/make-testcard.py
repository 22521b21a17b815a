#!/usr/bin/env python3
"""Writes testcard.bmp: a 320 x 256, 24-bit colour test card (bars, ramps, a colour wheel)."""
import colorsys, math, struct, sys

W, H = 320, 256
BARS = [(255, 255, 255), (255, 255, 0), (0, 255, 255), (0, 255, 0),
        (255, 0, 255), (255, 0, 0), (0, 0, 255), (0, 0, 0)]


def pixel(x, y):
    if x < 2 or y < 2 or x >= W - 2 or y >= H - 2:
        return (255, 255, 255)  # border
    if y < 96:
        return BARS[x * 8 // W]  # colour bars
    if y < 160:
        level = x * 255 // (W - 1)  # red, green, blue and grey ramps
        return [(level, 0, 0), (0, level, 0), (0, 0, level), (level, level, level)][(y - 96) // 16]
    dx, dy = x - W // 2, y - 208
    r = math.hypot(dx, dy)
    if r < 44:  # colour wheel: hue by angle, white at the centre
        hue = (math.atan2(dy, dx) / (2 * math.pi)) % 1.0
        return tuple(round(c * 255) for c in colorsys.hsv_to_rgb(hue, min(r / 44, 1.0), 1.0))
    return (255, 255, 255) if x % 32 == 0 or y % 32 == 0 else (40, 40, 40)  # grid


def main(path):
    row_bytes = (W * 3 + 3) // 4 * 4
    body = bytearray()
    for y in reversed(range(H)):  # bottom row first
        row = bytearray()
        for x in range(W):
            red, green, blue = pixel(x, y)
            row += bytes((blue, green, red))
        body += row + bytes(row_bytes - len(row))
    header = b"BM" + struct.pack("<IHHI", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + body)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "testcard.bmp")

#!/usr/bin/env python3
"""Copies a JPEG, adding an APP1 EXIF segment that holds only the given orientation (1..8) right
after the start-of-image marker: bench/add-exif-orientation.py IN OUT ORIENTATION"""
import struct
import sys


def main(source, target, orientation):
    jpeg = open(source, "rb").read()
    tiff = b"MM" + struct.pack(">HI", 42, 8) + struct.pack(">H", 1)
    tiff += struct.pack(">HHIHH", 0x0112, 3, 1, orientation, 0) + struct.pack(">I", 0)
    payload = b"Exif\0\0" + tiff
    segment = b"\xFF\xE1" + struct.pack(">H", len(payload) + 2) + payload
    open(target, "wb").write(jpeg[:2] + segment + jpeg[2:])


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], int(sys.argv[3]))

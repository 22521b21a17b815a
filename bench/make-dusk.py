#!/usr/bin/python3
"""Makes a dusk photograph from a daylight one, for the contact sheet: the light in linear light
cut to a tenth and tinted blue, as the sky goes after sunset.
    bench/make-dusk.py SOURCE OUT.png   (needs python3-skimage)"""
import sys

import numpy as np
from skimage import io

DIMMING = 0.1
TINT = np.array([0.55, 0.75, 1.5])  # red, green, blue


def main():
    source, out = sys.argv[1:3]
    encoded = io.imread(source)[..., :3] / 255.0
    linear = np.where(encoded <= 0.04045, encoded / 12.92, ((encoded + 0.055) / 1.055) ** 2.4)
    dusk = np.clip(linear * DIMMING * TINT, 0, 1)
    encoded = np.where(dusk <= 0.0031308, 12.92 * dusk, 1.055 * dusk ** (1 / 2.4) - 0.055)
    io.imsave(out, np.round(encoded * 255).astype(np.uint8), check_contrast=False)


main()

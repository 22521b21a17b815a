#!/usr/bin/python3
"""One-off check of bench/quality against scikit-image: recomputes both scores of a few
conversions with numpy, scipy and scikit-image (Debian python3-skimage) and prints them beside
the scorer's. Uses a 640 x 512 picture, so that the area average is a plain 2 x 2 mean.
    /usr/bin/python3 bench/quality-check.py [BUILD_DIR]"""
import os
import subprocess
import sys
import tempfile

import numpy as np
from scipy.ndimage import gaussian_filter
from skimage import color, data, io, transform
from skimage.metrics import structural_similarity

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "release")
CONVERT = os.path.join(BUILD, "cli", "quillix-convert")
QUALITY = os.path.join(BUILD, "bench", "quality")
DEFAULTS = {0: [0, 7], 1: [0, 1, 3, 7], 2: list(range(8)), 5: [0, 1, 3, 7]}
PIXELS = {0: 640, 1: 320, 2: 160, 5: 160}


def to_linear(srgb):
    return np.where(srgb <= 0.04045, srgb / 12.92, ((srgb + 0.055) / 1.055) ** 2.4)


def to_srgb(linear):
    linear = np.clip(linear, 0, 1)
    return np.where(linear <= 0.0031308, linear * 12.92, 1.055 * linear ** (1 / 2.4) - 0.055)


def shown(screen, mode, palette):
    """The screen as 320 x 256 linear RGB, decoded pixel by pixel."""
    pixels = PIXELS[mode]
    per_byte = {0: 8, 1: 4, 2: 2, 5: 4}[mode]
    row_bytes = 640 if mode in (0, 1, 2) else 320
    logical = np.zeros((256, pixels), dtype=int)
    for y in range(256):
        for x in range(pixels):
            byte = screen[y // 8 * row_bytes + x // per_byte * 8 + y % 8]
            i = x % per_byte
            if per_byte == 8:
                logical[y, x] = (byte >> (7 - i)) & 1
            elif per_byte == 4:
                logical[y, x] = ((byte >> (7 - i)) & 1) << 1 | ((byte >> (3 - i)) & 1)
            else:
                logical[y, x] = sum(((byte >> (7 - i - 2 * k)) & 1) << (3 - k) for k in range(4))
    phys = np.array(palette)[logical % len(palette)]
    rgb = np.stack([(phys >> c) & 1 for c in range(3)], axis=-1).astype(float)
    if pixels == 640:
        return rgb.reshape(256, 320, 2, 3).mean(axis=2)
    if pixels == 160:
        return np.repeat(rgb, 2, axis=1)
    return rgb


def scores(source_linear, shown_linear):
    def blur(img, sigma):
        return np.stack([gaussian_filter(img[..., c], sigma, mode="reflect", truncate=4.0)
                         for c in range(3)], axis=-1)

    def lab(img):
        return color.rgb2lab(to_srgb(img), illuminant="D65", observer="2")

    de = color.deltaE_ciede2000(lab(blur(source_linear, 1.0)), lab(blur(shown_linear, 1.0)))
    l1 = lab(blur(source_linear, 0.6))[..., 0]
    l2 = lab(blur(shown_linear, 0.6))[..., 0]
    ssim = structural_similarity(l1, l2, gaussian_weights=True, sigma=1.5,
                                 use_sample_covariance=False, data_range=100)
    return de.mean(), ssim


def main():
    with tempfile.TemporaryDirectory() as work:
        picture = os.path.join(work, "coffee.png")
        big = transform.resize(data.coffee(), (512, 640), anti_aliasing=True)
        io.imsave(picture, (big * 255).round().astype(np.uint8), check_contrast=False)
        source = to_linear(io.imread(picture)[..., :3] / 255.0)
        source = source.reshape(256, 2, 320, 2, 3).mean(axis=(1, 3))
        cases = [(1, "fine", None), (2, "none", None), (0, "spiral", None), (5, "coarse", [0, 4, 6, 7])]
        print("case                       scorer (dE, SSIM)      scikit-image (dE, SSIM)")
        for mode, tone, palette in cases:
            screen_path = os.path.join(work, "out.screen")
            subprocess.run([CONVERT, "-q", "-m", str(mode), "-t", tone, "-o", screen_path, picture],
                           check=True)
            args = [QUALITY, "-m", str(mode), picture, screen_path]
            if palette:
                args[1:1] = ["--palette", ",".join(map(str, palette))]
            words = subprocess.run(args, check=True, capture_output=True, text=True).stdout.split()
            with open(screen_path, "rb") as f:
                screen = f.read()
            de, ssim = scores(source, shown(screen, mode, palette or DEFAULTS[mode]))
            name = "MODE %d %s%s" % (mode, tone, " palette " + ",".join(map(str, palette)) if palette else "")
            print("%-26s %8s %8s      %8.4f %8.4f" % (name, words[1], words[3], de, ssim))


main()

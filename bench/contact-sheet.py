#!/usr/bin/python3
"""A contact sheet for a person to judge: for each photograph a row of the source (placed as
--fit keep places it), the previous photograph recipe and --photo, converted in MODE -m.
    bench/contact-sheet.py BUILD_DIR OUT.png [-m 1] PHOTO...   (needs python3-skimage)"""
import argparse
import os
import subprocess
import tempfile

import numpy as np
from skimage import io, transform

PREVIOUS_PHOTO = ["-t", "atkinson", "--palette", "best", "--sampling", "area", "--fit", "keep"]
GAP = 4


def placed(photo):
    """The photograph on the 320 x 256 grid as keep aspect places it on a 4:3 monitor."""
    picture = io.imread(photo)[..., :3]
    height, width = picture.shape[:2]
    aspect = width / height
    rows, columns = (round(256 * (4 / 3) / aspect), 320) if aspect >= 4 / 3 else \
        (256, round(320 * aspect / (4 / 3)))
    small = transform.resize(picture, (rows, columns), anti_aliasing=True, preserve_range=True)
    grid = np.zeros((256, 320, 3), np.uint8)
    top, left = (256 - rows) // 2, (320 - columns) // 2
    grid[top:top + rows, left:left + columns] = np.round(small).astype(np.uint8)
    return grid


def preview(convert, work, photo, mode, options):
    out = os.path.join(work, "preview.png")
    subprocess.run([convert, "-q", "-m", str(mode), *options, "-o", os.path.join(work, "s"),
                    "--preview", out, photo], check=True)
    return io.imread(out)[..., :3]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("out")
    parser.add_argument("photos", nargs="+")
    parser.add_argument("-m", "--mode", type=int, default=1)
    args = parser.parse_args()
    convert = os.path.join(args.build, "cli", "quillix-convert")
    rows = []
    with tempfile.TemporaryDirectory() as work:
        for photo in args.photos:
            cells = [placed(photo), preview(convert, work, photo, args.mode, PREVIOUS_PHOTO),
                     preview(convert, work, photo, args.mode, ["--photo"])]
            gap = np.full((256, GAP, 3), 255, np.uint8)
            rows.append(np.concatenate([cells[0], gap, cells[1], gap, cells[2]], axis=1))
            rows.append(np.full((GAP, rows[-1].shape[1], 3), 255, np.uint8))
    io.imsave(args.out, np.concatenate(rows[:-1], axis=0), check_contrast=False)


main()

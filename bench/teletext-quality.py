#!/usr/bin/env python3
"""MODE 7 picture quality: for each photo, scores with bench/quality (mean CIEDE2000, lower is
better; SSIM of lightness, higher is better) the solver's page (quillix-convert -m 7), the plain
baseline's page (bench teletext-baseline: the nearest colour pair per cell, codes placed
greedily) and MODE 2 --photo, all sampled by area and fitted with keep, and prints a markdown
table per picture with the means.
    bench/teletext-quality.py [BUILD_DIR] [--options="ARGS"] [PHOTO...]
Without PHOTOs it uses the photographs of Debian's python3-skimage."""
import argparse
import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKIMAGE_DATA = "/usr/lib/python3/dist-packages/skimage/data"
SKIMAGE_PHOTOS = ["astronaut.png", "chelsea.png", "coffee.png", "motorcycle_left.png", "rocket.jpg"]


def run(command):
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), result.stderr.strip()))
    return result.stdout


def score(build, mode, photo, screen):
    out = run([os.path.join(build, "bench/quality"), "-m", str(mode), "--fit", "keep", photo, screen])
    found = re.search(r"ciede2000 ([0-9.]+) ssim ([0-9.-]+)", out)
    return float(found.group(1)), float(found.group(2))


def measure(build, options, photo, folder):
    stem = os.path.splitext(os.path.basename(photo))[0]
    convert = os.path.join(build, "cli/quillix-convert")
    solver = os.path.join(folder, stem + ".m7")
    run([convert, "-q", "-m", "7", "--sampling", "area", "--fit", "keep"] + options.split() +
        ["-o", solver, photo])
    baseline = os.path.join(folder, stem + ".base")
    run([os.path.join(build, "bench/teletext-baseline"), "--fit", "keep", "--sampling", "area",
         photo, baseline])
    mode2 = os.path.join(folder, stem + ".m2")
    run([convert, "-q", "-m", "2", "--photo", "-o", mode2, photo])
    return stem, score(build, 7, photo, solver), score(build, 7, photo, baseline), \
        score(build, 2, photo, mode2)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("photos", nargs="*")
    parser.add_argument("--options", default="", help="more quillix-convert options for MODE 7")
    args = parser.parse_intermixed_args()
    photos = args.photos or [os.path.join(SKIMAGE_DATA, p) for p in SKIMAGE_PHOTOS]
    with tempfile.TemporaryDirectory() as folder, concurrent.futures.ThreadPoolExecutor(2) as pool:
        rows = list(pool.map(lambda p: measure(args.build, args.options, p, folder), photos))
    print("| picture | MODE 7 solver | baseline | solver / baseline | MODE 2 `--photo` | "
          "solver SSIM | baseline SSIM | MODE 2 SSIM |")
    print("|---|---|---|---|---|---|---|---|")
    for stem, solver, baseline, mode2 in rows:
        print("| %s | %.2f | %.2f | %.3f%s | %.2f | %.3f | %.3f | %.3f |" % (
            stem, solver[0], baseline[0], solver[0] / baseline[0],
            "" if solver[0] < baseline[0] else " NOT BEATEN", mode2[0], solver[1], baseline[1],
            mode2[1]))
    mean = lambda i, k: sum(r[i][k] for r in rows) / len(rows)
    print("| mean | %.2f | %.2f | %.3f | %.2f | %.3f | %.3f | %.3f |" % (
        mean(1, 0), mean(2, 0), mean(1, 0) / mean(2, 0), mean(3, 0), mean(1, 1), mean(2, 1),
        mean(3, 1)))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Picture quality on photographs: for each photo and MODE 1, 2 and 5 scores every one of the
classic tones (none, fine, coarse, spiral, diagonal, each with and without Stagger) with
bench/quality, keeps the best per picture for each score, scores the photo recipe (--photo, or the
options given with --candidate) and the previous recipe (PREVIOUS_PHOTO), and prints markdown
tables of the means: the recipe against the classic tones (at least 15% lower CIEDE2000 and 1.8
times the SSIM), against the previous recipe (CIEDE2000 at most 1.3 times, SSIM at least 1.5
times), and the share of the darkest tenth of each source shown as anything but black.
    bench/quality-table.py [BUILD_DIR] [--candidate="ARGS"] [--fit stretch|keep|fill]
                           [--modes 1,2,5] [--pictures] [PHOTO...]
Without PHOTOs it uses photographs from Debian's python3-skimage. The candidate's palette is read
from the VDU 19 line quillix-convert prints; its fit from --fit, else from the candidate's own
--fit, else from what --help says --photo sets."""
import argparse
import concurrent.futures
import os
import re
import shlex
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKIMAGE_DATA = "/usr/lib/python3/dist-packages/skimage/data"
SKIMAGE_PHOTOS = ["astronaut.png", "chelsea.png", "coffee.png", "motorcycle_left.png", "rocket.jpg"]
TONES = ["none", "fine", "coarse", "spiral", "diagonal"]
DEFAULT_PALETTES = {0: [0, 7], 1: [0, 1, 3, 7], 2: list(range(8)), 4: [0, 7], 5: [0, 1, 3, 7]}
COLOUR_GOAL = 0.85  # the candidate's mean CIEDE2000 at most this share of today's best
DETAIL_GOAL = 1.8  # the candidate's mean SSIM at least this multiple of today's best
# The photograph recipe before the searched dither, to measure the new one against.
PREVIOUS_PHOTO = "-t atkinson --palette best --sampling area --fit keep"
PREVIOUS_COLOUR_GOAL = 1.3  # mean CIEDE2000 at most this multiple of the previous recipe's
PREVIOUS_DETAIL_GOAL = 1.5  # mean SSIM at least this multiple of the previous recipe's


def arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("photos", nargs="*")
    parser.add_argument("--candidate", default="--photo", help="quillix-convert options to measure")
    parser.add_argument("--fit", choices=["stretch", "keep", "fill"])
    parser.add_argument("--modes", default="1,2,5")
    parser.add_argument("--pictures", action="store_true", help="also a table per picture")
    args = parser.parse_intermixed_args()
    if args.build.lower().endswith((".png", ".jpg", ".jpeg", ".bmp")):
        args.photos.insert(0, args.build)
        args.build = os.path.join(ROOT, "build", "release")
    args.photos = args.photos or [os.path.join(SKIMAGE_DATA, p) for p in SKIMAGE_PHOTOS]
    args.modes = [int(m) for m in args.modes.split(",")]
    for path in args.photos + [os.path.join(args.build, t) for t in ("cli/quillix-convert", "bench/quality")]:
        if not os.path.exists(path):
            sys.exit("quality-table: missing %s (build with QUILLIX_BENCH on; photos come with "
                     "python3-skimage)" % path)
    return args


def run(command):
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("failed: %s\n%s" % (shlex.join(command), result.stderr.strip()))
    return result.stdout + result.stderr


def photo_fit(convert, candidate):
    """The fit the candidate options set: their own --fit, or --photo's as --help describes it."""
    words = shlex.split(candidate)
    if "--fit" in words[:-1]:
        return words[words.index("--fit") + 1]
    if "--photo" not in words:
        return "stretch"
    entry = re.search(r"--photo\b(.*?)(?=\n\s*-|\Z)", run([convert, "--help"]), re.S)
    text = entry.group(1) if entry else ""
    for fit in ("keep", "fill"):
        if re.search(r"\b%s\b" % fit, text):
            return fit
    return "stretch"


def palette_of(output, mode):
    """The palette after the VDU 19 commands quillix-convert printed, if any."""
    palette = list(DEFAULT_PALETTES[mode])
    line = re.search(r"VDU 19,[0-9,;]*", output)
    if line:
        for logical, physical in re.findall(r"19,(\d+),(\d+);0;", line.group(0)):
            palette[int(logical)] = int(physical)
    return palette


def score(quality, mode, photo, screens, palette=None, fit="stretch"):
    command = [quality, "-m", str(mode), "--fit", fit]
    if palette:
        command += ["--palette", ",".join(map(str, palette))]
    lines = run(command + [photo] + screens).splitlines()
    return [(float(l.split()[1]), float(l.split()[3]), float(l.split()[5]))
            for l in lines if l.startswith("ciede2000")]


def measure(build, work, photo, mode, candidate, fit):
    """Today's best (colour, detail) and the candidate's, for one photo in one MODE."""
    convert = os.path.join(build, "cli", "quillix-convert")
    quality = os.path.join(build, "bench", "quality")
    stem = os.path.join(work, "%s-%d" % (os.path.splitext(os.path.basename(photo))[0], mode))
    screens, names = [], []
    for tone in TONES:
        for stagger in ([], ["-s"]):
            names.append(tone + (" -s" if stagger else ""))
            screens.append("%s-%s%s.screen" % (stem, tone, "-s" if stagger else ""))
            run([convert, "-q", "-m", str(mode), "-t", tone, *stagger, "-o", screens[-1], photo])
    today = score(quality, mode, photo, screens)
    colour = min(range(len(today)), key=lambda i: today[i][0])
    detail = max(range(len(today)), key=lambda i: today[i][1])
    best = (today[colour][0], today[detail][1], names[colour], names[detail], today[colour][1])
    if candidate is None:
        return best, None, None
    scored = []
    for name, options in (("candidate", candidate), ("previous", PREVIOUS_PHOTO)):
        screen = "%s-%s.screen" % (stem, name)
        printed = run([convert, "-m", str(mode), *shlex.split(options), "-o", screen, photo])
        scored.append(score(quality, mode, photo, [screen], palette_of(printed, mode), fit)[0])
    return best, scored[0], scored[1]


def supports(convert, candidate):
    help_text = run([convert, "--help"])
    return all(re.search(r"(^|[\s,])%s\b" % re.escape(w), help_text)
               for w in shlex.split(candidate) if w.startswith("--"))


def mean(values):
    return sum(values) / len(values)


def main():
    args = arguments()
    convert = os.path.join(args.build, "cli", "quillix-convert")
    candidate = args.candidate if supports(convert, args.candidate) else None
    fit = args.fit or (photo_fit(convert, candidate) if candidate else "stretch")
    os.environ.setdefault("QT_LOGGING_RULES", "qt.gui.imageio=false")
    with tempfile.TemporaryDirectory() as work, concurrent.futures.ThreadPoolExecutor(2) as pool:
        jobs = {(p, m): pool.submit(measure, args.build, work, p, m, candidate, fit)
                for m in args.modes for p in args.photos}
        results = {key: job.result() for key, job in jobs.items()}

    name = "`%s`" % candidate if candidate else "candidate"
    print("%d photographs; today's best tone per picture and score; %s with fit %s\n"
          % (len(args.photos), name, fit))
    if candidate is None:
        print("(quillix-convert does not take %s: only today's numbers)\n" % args.candidate)
    print("| MODE | dE today | dE %s | ratio | goal <= %.2f | SSIM today | SSIM %s | ratio | goal >= %.1f |"
          % (name, COLOUR_GOAL, name, DETAIL_GOAL))
    print("|---|---|---|---|---|---|---|---|---|")
    for m in args.modes:
        rows = [results[(p, m)] for p in args.photos]
        today_de, today_ssim = mean([r[0][0] for r in rows]), mean([r[0][1] for r in rows])
        if candidate is None:
            print("| %d | %.2f | - | - | - | %.3f | - | - | - |" % (m, today_de, today_ssim))
            continue
        de, ssim = mean([r[1][0] for r in rows]), mean([r[1][1] for r in rows])
        print("| %d | %.2f | %.2f | %.3f | %s | %.3f | %.3f | %.2f | %s |" % (
            m, today_de, de, de / today_de, "met" if de / today_de <= COLOUR_GOAL else "NOT met",
            today_ssim, ssim, ssim / today_ssim, "met" if ssim / today_ssim >= DETAIL_GOAL else "NOT met"))
    if candidate is not None:
        print("\n| MODE | dE previous | dE %s | ratio (goal <= %.1f) | SSIM previous | SSIM %s "
              "| ratio (goal >= %.1f) | dark lit previous | dark lit %s |"
              % (name, PREVIOUS_COLOUR_GOAL, name, PREVIOUS_DETAIL_GOAL, name))
        print("|---|---|---|---|---|---|---|---|---|")
        for m in args.modes:
            rows = [results[(p, m)] for p in args.photos]
            de, ssim, dark = (mean([r[1][k] for r in rows]) for k in range(3))
            pde, pssim, pdark = (mean([r[2][k] for r in rows]) for k in range(3))
            print("| %d | %.2f | %.2f | %.3f %s | %.3f | %.3f | %.2f %s | %.3f | %.3f |" % (
                m, pde, de, de / pde, "met" if de / pde <= PREVIOUS_COLOUR_GOAL else "NOT met",
                pssim, ssim, ssim / pssim, "met" if ssim / pssim >= PREVIOUS_DETAIL_GOAL else "NOT met",
                pdark, dark))
        print("\n(previous: `%s`; dark lit: of the darkest tenth of each source's grid pixels, "
              "the share shown as anything but black)" % PREVIOUS_PHOTO)
    # Today's SSIM winner is mostly tone none, which no dithered picture approaches; this is the
    # SSIM of the tone that wins on colour instead.
    print("\nSSIM of today's tone with the best CIEDE2000, per MODE: " + ", ".join(
        "%d: %.3f" % (m, mean([results[(p, m)][0][4] for p in args.photos])) for m in args.modes))
    if args.pictures:
        print("\n| picture | MODE | dE today (tone) | dE %s | SSIM today (tone) | SSIM %s |"
              % (name, name))
        print("|---|---|---|---|---|---|")
        for (p, m), (best, cand, _) in sorted(results.items(), key=lambda kv: (kv[0][1], kv[0][0])):
            c = cand or (float("nan"), float("nan"))
            print("| %s | %d | %.2f (%s) | %.2f | %.3f (%s) | %.3f |"
                  % (os.path.basename(p), m, best[0], best[2], c[0], best[1], best[3], c[1]))


main()

// teletext-baseline: the plain way to make a MODE 7 page, for the quality table to measure the
// solver against. Each cell takes the pair of colours that shows it best (each sixel the nearer
// of the two, in CIELAB), and whenever that pair differs from the one in force the codes that
// set it are placed there and then, one cell each: Black Background or the background colour
// and New Background, then the foreground colour; the cells after them go on with mosaics.
//   teletext-baseline [--fit stretch|keep|fill] [--sampling point|area] PICTURE PAGE
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "colour/LinearLight.h"
#include "pipeline/Pipeline.h"
#include "screen/TeletextPage.h"
#include "teletext/SixelTargets.h"

namespace {

constexpr float kWeight[kSixelRows] = {3, 4, 3};

struct Cell {
    float error[kSixelsPerCell][8];  // each sixel's weighted distance from each colour
};

// The best pattern of a cell in a pair of colours, and its error.
int BestPattern(const Cell& cell, int fg, int bg, float& error) {
    int pattern = 0;
    error = 0;
    for (int s = 0; s < kSixelsPerCell; ++s) {
        if (cell.error[s][fg] < cell.error[s][bg]) pattern |= 1 << s;
        error += std::min(cell.error[s][fg], cell.error[s][bg]);
    }
    return pattern;
}

std::vector<std::uint8_t> BaselinePage(const SixelTargets& targets) {
    std::vector<std::uint8_t> page(kTeletextPageBytes, 0x20);
    Lab colours[8];
    for (int c = 0; c < 8; ++c) colours[c] = LabOfLinear(c & 1, c >> 1 & 1, c >> 2 & 1);
    for (int r = 0; r < kTeletextRows; ++r) {
        std::uint8_t* row = page.data() + r * kTeletextColumns;
        int fg = 7, bg = 0;
        row[0] = kGraphicsWhite;
        std::vector<std::uint8_t> codes;  // still to be placed
        for (int c = kPictureFirstCell; c < kTeletextColumns; ++c) {
            Cell cell;
            for (int s = 0; s < kSixelsPerCell; ++s) {
                const float* rgb = targets.At(2 * (c - kPictureFirstCell) + s % 2,
                                              r * kSixelRows + s / 2);
                const Lab target = LabOfLinear(rgb[0], rgb[1], rgb[2]);
                for (int k = 0; k < 8; ++k)
                    cell.error[s][k] =
                        kWeight[s / 2] * std::sqrt(SquaredDistance(target, colours[k]));
            }
            if (codes.empty()) {
                float best = 0;
                BestPattern(cell, fg, bg, best);
                int wantFg = fg, wantBg = bg;
                for (int f = 1; f < 8; ++f)
                    for (int b = 0; b < 8; ++b) {
                        float error = 0;
                        BestPattern(cell, f, b, error);
                        if (error < best) best = error, wantFg = f, wantBg = b;
                    }
                if (wantBg != bg) {
                    if (wantBg == 0) {
                        codes.push_back(kBlackBackground);
                    } else {
                        codes.push_back(static_cast<std::uint8_t>(0x90 + wantBg));
                        codes.push_back(kNewBackground);
                    }
                }
                const int fgAfter = wantBg != bg && wantBg != 0 ? wantBg : fg;
                if (wantFg != fgAfter) codes.push_back(static_cast<std::uint8_t>(0x90 + wantFg));
                std::reverse(codes.begin(), codes.end());
            }
            if (!codes.empty()) {
                row[c] = codes.back();
                codes.pop_back();
                if (row[c] == kBlackBackground) bg = 0;
                else if (row[c] == kNewBackground) bg = fg;
                else fg = row[c] & 7;
                continue;
            }
            float error = 0;
            row[c] = SixelByte(BestPattern(cell, fg, bg, error));
        }
    }
    return page;
}

}  // namespace

int main(int argc, char** argv) {
    Fit fit = Fit::Stretch;
    Sampling sampling = Sampling::Point;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fit" && i + 1 < argc) {
            const std::string value = argv[++i];
            fit = value == "keep" ? Fit::Keep : value == "fill" ? Fit::Fill : Fit::Stretch;
        } else if (arg == "--sampling" && i + 1 < argc) {
            sampling = std::string(argv[++i]) == "area" ? Sampling::Area : Sampling::Point;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        std::fprintf(stderr, "usage: teletext-baseline [--fit F] [--sampling S] PICTURE PAGE\n");
        return 2;
    }
    try {
        const Samples samples = SamplePictureFile(files[0], fit, sampling);
        const std::vector<std::uint8_t> page = BaselinePage(TargetsOf(samples.Planes()));
        std::ofstream(files[1], std::ios::binary)
            .write(reinterpret_cast<const char*>(page.data()),
                   static_cast<std::streamsize>(page.size()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "teletext-baseline: %s\n", error.what());
        return 1;
    }
    return 0;
}

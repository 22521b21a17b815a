#include "teletext/CellCosts.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "teletext/SixelColours.h"

namespace {

// The colour a whole cell shows on average, by how many corner and middle sixels are set:
// [separated][fg][bg][corners][middles], in CIELAB.
struct CellMeans {
    Lab lab[2][kColours][kColours][5][3];
    CellMeans() {
        const SixelColours& colours = TheSixelColours();
        for (int sep = 0; sep < 2; ++sep)
            for (int fg = 0; fg < kColours; ++fg)
                for (int bg = 0; bg < kColours; ++bg)
                    for (int corners = 0; corners <= 4; ++corners)
                        for (int middles = 0; middles <= 2; ++middles) {
                            const float share = (corners * 3 * (sep ? SeparatedShare(0) : 1) +
                                                 middles * 4 * (sep ? SeparatedShare(1) : 1)) /
                                                kCellWeight;
                            float rgb[3];
                            for (int k = 0; k < 3; ++k)
                                rgb[k] =
                                    share * colours.pure[fg][k] + (1 - share) * colours.pure[bg][k];
                            lab[sep][fg][bg][corners][middles] =
                                LabOfLinear(rgb[0], rgb[1], rgb[2]);
                        }
    }
};

// The best pattern of a cell in one state, with what each sixel adds when set (delta) on top
// of the cell all background (base): for each count of corners and middles set, the cheapest
// sixels of each kind.
std::uint8_t BestPattern(const float delta[kSixelsPerCell], float base, const float mean[5][3],
                         float& cost) {
    // The four corners cheapest first, by a sorting network.
    int corners[4] = {0, 1, 2, 3};
    const auto order = [&](int a, int b) {
        if (delta[kCorners[corners[b]]] < delta[kCorners[corners[a]]])
            std::swap(corners[a], corners[b]);
    };
    order(0, 1), order(2, 3), order(0, 2), order(1, 3), order(1, 2);
    const bool middleFirst = delta[kMiddles[0]] <= delta[kMiddles[1]];
    const int middles[2] = {kMiddles[middleFirst ? 0 : 1], kMiddles[middleFirst ? 1 : 0]};
    cost = std::numeric_limits<float>::infinity();
    int best = 0;
    float cornerSum = 0;
    int cornerBits = 0;
    for (int c = 0; c <= 4; ++c) {
        if (c > 0) {
            cornerSum += delta[kCorners[corners[c - 1]]];
            cornerBits |= 1 << kCorners[corners[c - 1]];
        }
        float middleSum = 0;
        int bits = cornerBits;
        for (int m = 0; m <= 2; ++m) {
            if (m > 0) {
                middleSum += delta[middles[m - 1]];
                bits |= 1 << middles[m - 1];
            }
            const float total = base + cornerSum + middleSum + mean[c][m];
            if (total < cost) cost = total, best = bits;
        }
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace

void MeasureCell(const RowTargets& targets, int cell, CellCosts& costs) {
    static const CellMeans means;
    const SixelColours& colours = TheSixelColours();
    float mean[3] = {0, 0, 0};
    for (int s = 0; s < kSixelsPerCell; ++s) {
        const int pair = s / 2;
        const auto& rgb = targets[pair][2 * (cell - kPictureFirstCell) + s % 2];
        const Lab target = LabOfLinear(rgb[0], rgb[1], rgb[2]);
        const float weight = kPairWeight[pair];
        for (int k = 0; k < 3; ++k) mean[k] += weight * rgb[k] / kCellWeight;
        for (int c = 0; c < kColours; ++c)
            costs.pure[s][c] = weight * std::sqrt(SquaredDistance(target, colours.pureLab[c]));
        for (int fg = 0; fg < kColours; ++fg)
            for (int bg = 0; bg < kColours; ++bg)
                costs.separated[s][fg][bg] =
                    fg == bg ? costs.pure[s][fg]
                             : weight * std::sqrt(SquaredDistance(
                                            target, colours.separatedLab[pair][fg][bg]));
    }
    const Lab target = LabOfLinear(mean[0], mean[1], mean[2]);
    const auto distance = [&target](const Lab& shown) {
        return kMeanWeight * kCellWeight * std::sqrt(SquaredDistance(target, shown));
    };
    float solidMean[kColours];
    for (int c = 0; c < kColours; ++c) solidMean[c] = distance(colours.pureLab[c]);
    // Foreground 0 is text, which shows no mosaics.
    for (int sep = 0; sep < 2; ++sep)
        for (int fg = 1; fg < kColours; ++fg)
            for (int bg = 0; bg < kColours; ++bg)
                for (int corners = 0; corners <= 4; ++corners)
                    for (int middles = 0; middles <= 2; ++middles)
                        costs.mean[sep][fg][bg][corners][middles] =
                            fg == bg || corners + middles == 0
                                ? solidMean[bg]
                                : distance(means.lab[sep][fg][bg][corners][middles]);
    for (int c = 0; c < kColours; ++c) {
        costs.solid[c] = solidMean[c];
        for (int s = 0; s < kSixelsPerCell; ++s) costs.solid[c] += costs.pure[s][c];
    }
}

void ChooseBestPatterns(CellCosts& costs, const CellCosts* after) {
    for (int fg = 1; fg < kColours; ++fg)
        for (int bg = 0; bg < kColours; ++bg)
            for (int sep = 0; sep < 2; ++sep) {
                float delta[kSixelsPerCell], base = 0;
                for (int s = 0; s < kSixelsPerCell; ++s) {
                    delta[s] = costs.On(s, fg, bg, sep) - costs.pure[s][bg];
                    base += costs.pure[s][bg];
                }
                costs.best[0][fg][bg][sep] = BestPattern(delta, base, costs.mean[sep][fg][bg],
                                                         costs.bestCost[0][fg][bg][sep]);
                if (after == nullptr) {
                    costs.best[1][fg][bg][sep] = costs.best[0][fg][bg][sep];
                    costs.bestCost[1][fg][bg][sep] = costs.bestCost[0][fg][bg][sep];
                    continue;
                }
                float mean[5][3];
                for (int c = 0; c <= 4; ++c)
                    for (int m = 0; m <= 2; ++m)
                        mean[c][m] = costs.mean[sep][fg][bg][c][m] + after->mean[sep][fg][bg][c][m];
                float bothBase = base;
                for (int s = 0; s < kSixelsPerCell; ++s) {
                    delta[s] += after->On(s, fg, bg, sep) - after->pure[s][bg];
                    bothBase += after->pure[s][bg];
                }
                float both = 0;
                const std::uint8_t paired = BestPattern(delta, bothBase, mean, both);
                costs.best[1][fg][bg][sep] = paired;
                costs.bestCost[1][fg][bg][sep] = costs.Pattern(paired, fg, bg, sep);
            }
}

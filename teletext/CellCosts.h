#pragma once

#include <array>
#include <cstdint>

#include "teletext/SixelTargets.h"

// What a row of sixels should look like: the linear red, green and blue of each of its 3 x 78
// sixels, [pair][column].
using RowTargets = std::array<std::array<std::array<float, 3>, kPictureSixelColumns>, kSixelRows>;

inline constexpr int kColours = 8;
inline constexpr float kPairWeight[kSixelRows] = {3, 4, 3};
inline constexpr float kCellWeight = 20;  // the pairs' weights, twice over
// How much the error of the cell's mean colour counts beside its sixels' own errors: the eye
// blends a cell's sixels as well as seeing them (0.5 measured best on the photographs).
inline constexpr float kMeanWeight = 0.5f;

// The sixels of a cell by their height: the four corners (3 dot rows) and the middle two (4).
inline constexpr int kCorners[4] = {0, 1, 4, 5};
inline constexpr int kMiddles[2] = {2, 3};

// How many corner and middle sixels a pattern sets.
inline int Corners(int pattern) {
    return (pattern & 1) + (pattern >> 1 & 1) + (pattern >> 4 & 1) + (pattern >> 5 & 1);
}
inline int Middles(int pattern) {
    return (pattern >> 2 & 1) + (pattern >> 3 & 1);
}

// What a cell of the picture area costs shown each way, the error RowError counts: each sixel in
// each colour (or set and separated, in each pair of colours), the cell's mean colour, and the
// best patterns in each state.
struct CellCosts {
    float pure[kSixelsPerCell][kColours];  // each sixel's weighted error in each colour
    float separated[kSixelsPerCell][kColours][kColours];  // set and separated: [fg][bg]
    // The error of the cell's mean colour, by how many corner and middle sixels are set.
    float mean[2][kColours][kColours][5][3];
    float solid[kColours];  // the whole cell in one colour
    // The best pattern in each state [fg][bg][separated], alone (0) and with a held copy in the
    // next cell (1), and what the cell then costs.
    std::uint8_t best[2][kColours][kColours][2];
    float bestCost[2][kColours][kColours][2];

    float On(int s, int fg, int bg, int sep) const {
        return sep ? separated[s][fg][bg] : pure[s][fg];
    }
    float Pattern(int pattern, int fg, int bg, int sep) const {
        float cost = mean[sep][fg][bg][Corners(pattern)][Middles(pattern)];
        for (int s = 0; s < kSixelsPerCell; ++s)
            cost += pattern >> s & 1 ? On(s, fg, bg, sep) : pure[s][bg];
        return cost;
    }
};

// The costs of picture cell `cell` (1-39) of a row, before its best patterns are chosen.
void MeasureCell(const RowTargets& targets, int cell, CellCosts& costs);

// Chooses the cell's best patterns in every state: for the cell alone, and for it and a held
// copy in the next cell (after; none for the last cell).
void ChooseBestPatterns(CellCosts& costs, const CellCosts* after);

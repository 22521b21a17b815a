#include "convert/ThresholdOffsets.h"

#include <array>
#include <cmath>

namespace {

// Rows are y = 0..3 from the top, each listing x = 0..3.
using PatternRows = std::array<std::array<std::int16_t, 4>, 4>;

TonePattern PatternOf(const PatternRows& rows) {
    TonePattern pattern;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) pattern(x, y) = rows[y][x];
    }
    return pattern;
}

}  // namespace

const TonePattern& FinePattern() {
    static const TonePattern pattern =
        PatternOf({{{8, 2, 10, 0}, {7, 13, 5, 15}, {11, 1, 9, 3}, {4, 14, 6, 12}}});
    return pattern;
}

const TonePattern& CoarsePattern() {
    static const TonePattern pattern =
        PatternOf({{{9, 11, 1, 7}, {13, 15, 3, 5}, {0, 6, 8, 10}, {2, 4, 12, 14}}});
    return pattern;
}

const TonePattern& SpiralPattern() {
    static const TonePattern pattern =
        PatternOf({{{3, 2, 1, 0}, {4, 13, 12, 11}, {5, 14, 15, 10}, {6, 7, 8, 9}}});
    return pattern;
}

const TonePattern& DiagonalPattern() {
    static const TonePattern pattern =
        PatternOf({{{0, 13, 10, 7}, {4, 1, 14, 11}, {8, 5, 2, 15}, {12, 9, 6, 3}}});
    return pattern;
}

ThresholdOffsets ThresholdOffsetsOf(const TonePattern* pattern) {
    ThresholdOffsets table;
    if (pattern == nullptr) return table;

    // The 4 x 4 ranks grow to 8 x 8, each copy offset so that the copies interleave...
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const int p = (*pattern)(i, j);
            table(i, j) = static_cast<std::int16_t>(16 * p);
            table(i + 4, j + 4) = static_cast<std::int16_t>(16 * p + 4);
            table(i + 4, j) = static_cast<std::int16_t>(16 * p + 8);
            table(i, j + 4) = static_cast<std::int16_t>(16 * p + 12);
        }
    }
    // ...and again to 16 x 16, which then holds every rank 0..255 once.
    for (int a = 0; a < 8; ++a) {
        for (int b = 0; b < 8; ++b) {
            const int v = table(a, b);
            table(a + 8, b + 8) = static_cast<std::int16_t>(v + 1);
            table(a + 8, b) = static_cast<std::int16_t>(v + 2);
            table(a, b + 8) = static_cast<std::int16_t>(v + 3);
        }
    }
    // Ranks become offsets -115..114; nearbyint rounds exact halves to even, as the table always
    // has.
    for (int x = 0; x < 16; ++x) {
        for (int y = 0; y < 16; ++y) {
            const int n = table(x, y);
            const double scaled = static_cast<double>((n - 128) * 9) / 10.0;
            table(x, y) = static_cast<std::int16_t>(std::nearbyint(scaled));
        }
    }
    return table;
}

ThresholdOffsets ThresholdOffsetsFor(Halftone halftone) {
    switch (halftone) {
        case Halftone::Fine:
            return ThresholdOffsetsOf(&FinePattern());
        case Halftone::Coarse:
            return ThresholdOffsetsOf(&CoarsePattern());
        case Halftone::Spiral:
            return ThresholdOffsetsOf(&SpiralPattern());
        case Halftone::Diagonal:
            return ThresholdOffsetsOf(&DiagonalPattern());
        default:
            return ThresholdOffsetsOf(nullptr);
    }
}

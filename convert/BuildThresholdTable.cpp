#include <cmath>

#include "convert/ConversionSettings.h"
#include "convert/Module1.h"

namespace Module1 {
namespace {

const TonePattern* SelectedPattern(int toneStyle) {
    switch (toneStyle) {
        case 1:
            return &PatternFine;
        case 2:
            return &PatternCoarse;
        case 3:
            return &PatternSpiral;
        case 4:
            return &PatternDiagonal;
        default:
            return nullptr;
    }
}

}  // namespace

void BuildThresholdTable() {
    const TonePattern* pattern = SelectedPattern(ConversionSettings.ToneStyle);
    if (pattern == nullptr) {
        for (int x = 0; x < 16; ++x) {
            for (int y = 0; y < 16; ++y) ThresholdTable(x, y) = 0;
        }
        return;
    }

    // The 4 x 4 ranks grow to 8 x 8, each copy offset so that the copies interleave...
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const int p = (*pattern)(i, j);
            ThresholdTable(i, j) = static_cast<std::int16_t>(16 * p);
            ThresholdTable(i + 4, j + 4) = static_cast<std::int16_t>(16 * p + 4);
            ThresholdTable(i + 4, j) = static_cast<std::int16_t>(16 * p + 8);
            ThresholdTable(i, j + 4) = static_cast<std::int16_t>(16 * p + 12);
        }
    }
    // ...and again to 16 x 16, which then holds every rank 0..255 once.
    for (int a = 0; a < 8; ++a) {
        for (int b = 0; b < 8; ++b) {
            const int v = ThresholdTable(a, b);
            ThresholdTable(a + 8, b + 8) = static_cast<std::int16_t>(v + 1);
            ThresholdTable(a + 8, b) = static_cast<std::int16_t>(v + 2);
            ThresholdTable(a, b + 8) = static_cast<std::int16_t>(v + 3);
        }
    }
    // Ranks become offsets -115..114; nearbyint rounds exact halves to even, as the table always
    // has.
    for (int x = 0; x < 16; ++x) {
        for (int y = 0; y < 16; ++y) {
            const int n = ThresholdTable(x, y);
            const double scaled = static_cast<double>((n - 128) * 9) / 10.0;
            ThresholdTable(x, y) = static_cast<std::int16_t>(std::nearbyint(scaled));
        }
    }
}

}  // namespace Module1

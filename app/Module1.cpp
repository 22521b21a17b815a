#include "app/Module1.h"

#include "app/ConversionSettings.h"
#include "colour/Palette.h"

namespace Module1 {

SampleGridPlanes SampleGrid;
BoundedTable<std::int16_t, 2, 6, 8> PaletteBits;
TonePattern PatternFine;
TonePattern PatternCoarse;
TonePattern PatternSpiral;
TonePattern PatternDiagonal;
ThresholdOffsets ThresholdTable;

void InitTables() {
    for (int mode : {0, 1, 2, 4, 5}) {
        const Palette palette = DefaultPalette(mode);
        for (std::size_t colour = 0; colour < palette.physical.size(); ++colour) {
            const int physical = palette.physical[colour];
            PaletteBits(0, mode, colour) = static_cast<std::int16_t>((physical >> 2) & 1);
            PaletteBits(1, mode, colour) = static_cast<std::int16_t>((physical >> 1) & 1);
            PaletteBits(2, mode, colour) = static_cast<std::int16_t>(physical & 1);
        }
    }
    PatternFine = FinePattern();
    PatternCoarse = CoarsePattern();
    PatternSpiral = SpiralPattern();
    PatternDiagonal = DiagonalPattern();
}

void BuildThresholdTable() {
    const TonePattern* patterns[] = {nullptr, &PatternFine, &PatternCoarse, &PatternSpiral,
                                     &PatternDiagonal};
    const int style = ConversionSettings.ToneStyle;
    ThresholdTable = ThresholdOffsetsOf(style >= 1 && style <= 4 ? patterns[style] : nullptr);
}

std::int16_t NearestColour(std::int16_t blue, std::int16_t green, std::int16_t red,
                           std::int16_t colourCount, std::int32_t& previewColour) {
    // One bit per component: on from 128 up. Integer division truncates toward zero, so negative
    // values are off too.
    const std::int16_t channelBits[3] = {
        static_cast<std::int16_t>(blue / 128 > 0),
        static_cast<std::int16_t>(green / 128 > 0),
        static_cast<std::int16_t>(red / 128 > 0),
    };
    const int mode = ConversionSettings.ScreenMode;

    int bestMismatches = 10000;
    int bestIndex = -1;
    // Every candidate is examined; only a strictly better count wins, so ties keep the lowest
    // index.
    for (int index = 0; index < colourCount; ++index) {
        int mismatches = 0;
        for (int component = 0; component < 3; ++component) {
            if (PaletteBits(component, mode, index) != channelBits[component]) ++mismatches;
        }
        if (mismatches < bestMismatches) {
            bestMismatches = mismatches;
            bestIndex = index;
        }
    }

    const std::int32_t r = PaletteBits(2, mode, bestIndex) * 255;
    const std::int32_t g = PaletteBits(1, mode, bestIndex) * 255;
    const std::int32_t b = PaletteBits(0, mode, bestIndex) * 255;
    previewColour = r | (g << 8) | (b << 16);
    return static_cast<std::int16_t>(bestIndex);
}

}  // namespace Module1

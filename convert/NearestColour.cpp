#include "convert/ConversionSettings.h"
#include "convert/Module1.h"

namespace Module1 {

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

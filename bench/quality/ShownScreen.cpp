#include "bench/quality/ShownScreen.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "screen/ScreenGeometry.h"

namespace {

// Logical colour of pixel `i` (0 leftmost) of a screen byte.
int LogicalColour(std::uint8_t byte, int pixelsPerByte, int i) {
    const auto bit = [byte](int n) { return (byte >> n) & 1; };
    switch (pixelsPerByte) {
        case 8:
            return bit(7 - i);
        case 4:
            return bit(7 - i) << 1 | bit(3 - i);
        default:  // MODE 2: pixel 0 in bits 7, 5, 3, 1, pixel 1 in bits 6, 4, 2, 0
            return bit(7 - i) << 3 | bit(5 - i) << 2 | bit(3 - i) << 1 | bit(1 - i);
    }
}

}  // namespace

LinearPicture ShownScreen(const std::vector<std::uint8_t>& screen, int screenMode,
                          const Palette& palette) {
    const ScreenGeometry& geometry = GeometryOf(screenMode);
    if (screen.size() != static_cast<std::size_t>(geometry.screenBytes)) {
        throw std::invalid_argument("a MODE " + std::to_string(screenMode) + " screen holds " +
                                    std::to_string(geometry.screenBytes) + " bytes, not " +
                                    std::to_string(screen.size()));
    }
    const std::vector<std::uint8_t>& physical = palette.physical;
    if (physical.size() != static_cast<std::size_t>(geometry.colourCount)) {
        throw std::invalid_argument("MODE " + std::to_string(screenMode) + " needs " +
                                    std::to_string(geometry.colourCount) + " palette colours");
    }

    LinearPicture shown(kPreviewWidth, kPreviewHeight);
    const int pixels = geometry.pixelsPerLine;
    for (int y = 0; y < kScanLines; ++y) {
        const int rowStart = y / kLinesPerCharacter * geometry.bytesPerCharacterRow;
        for (int x = 0; x < pixels; ++x) {
            const int cell = x / geometry.pixelsPerByte;
            const std::uint8_t byte =
                screen[rowStart + cell * kLinesPerCharacter + y % kLinesPerCharacter];
            const int logical =
                LogicalColour(byte, geometry.pixelsPerByte, x % geometry.pixelsPerByte);
            const int colour = physical[logical % geometry.colourCount] & 7;
            // Each mode pixel adds its share of the grid pixels it covers.
            const int first = x * kPreviewWidth / pixels;
            const int span = std::max(1, kPreviewWidth / pixels);
            const float share = pixels > kPreviewWidth ? 0.5f : 1.0f;
            for (int g = first; g < first + span; ++g) {
                shown.red.At(g, y) += share * (colour & 1);
                shown.green.At(g, y) += share * ((colour >> 1) & 1);
                shown.blue.At(g, y) += share * ((colour >> 2) & 1);
            }
        }
    }
    return shown;
}

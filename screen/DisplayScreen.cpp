#include "screen/DisplayScreen.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "screen/DisplayTeletext.h"
#include "screen/ScreenGeometry.h"

namespace {

// The logical colour of pixel p (0 = leftmost) of a screen byte. Each pixel's bits are spread
// over the byte: bit (7 - p) is its highest, then every (pixels per byte)th bit below.
int LogicalColour(std::uint8_t byte, int pixel, int pixelsPerByte) {
    int colour = 0;
    for (int bit = 7 - pixel; bit >= 0; bit -= pixelsPerByte)
        colour = colour << 1 | (byte >> bit & 1);
    return colour;
}

}  // namespace

std::uint32_t PhysicalColourValue(int physical) {
    return (physical & 1 ? 0x0000FFu : 0) | (physical & 2 ? 0x00FF00u : 0) |
           (physical & 4 ? 0xFF0000u : 0);
}

PictureBox DisplayScreen(const std::vector<std::uint8_t>& screen, int screenMode,
                         const Palette& palette) {
    if (screenMode == ModeNumber(ScreenMode::Mode7)) return DisplayTeletext(screen);
    const ScreenGeometry& geometry = GeometryOf(screenMode);
    if (screen.size() != static_cast<std::size_t>(geometry.screenBytes)) {
        throw std::invalid_argument("a MODE " + std::to_string(screenMode) + " screen is " +
                                    std::to_string(geometry.screenBytes) + " bytes long");
    }
    std::uint32_t colours[16];
    for (int logical = 0; logical < 16; ++logical) {
        const std::size_t at = static_cast<std::size_t>(logical);
        colours[logical] =
            PhysicalColourValue(at < palette.physical.size() ? palette.physical[at] : logical & 7);
    }

    PictureBox display(kDisplayWidth, kDisplayHeight, 0);
    const int pixelWidth = kDisplayWidth / geometry.pixelsPerLine;
    for (int y = 0; y < kScanLines; ++y) {
        std::uint32_t* row = display.Row(2 * y);
        const std::uint8_t* line = screen.data() +
                                   (y / kLinesPerCharacter) * geometry.bytesPerCharacterRow +
                                   y % kLinesPerCharacter;
        int x = 0;
        for (int cell = 0; cell < geometry.bytesPerCharacterRow / kLinesPerCharacter; ++cell) {
            const std::uint8_t byte = line[cell * kLinesPerCharacter];
            for (int pixel = 0; pixel < geometry.pixelsPerByte; ++pixel) {
                const std::uint32_t colour =
                    colours[LogicalColour(byte, pixel, geometry.pixelsPerByte)];
                for (int column = 0; column < pixelWidth; ++column) row[x++] = colour;
            }
        }
        std::copy(row, row + kDisplayWidth, display.Row(2 * y + 1));
    }
    display.Touch();
    return display;
}

PictureBox DisplayScreen(const EncodedScreen& screen) {
    return DisplayScreen(screen.bytes, ModeNumber(screen.screenMode), screen.palette);
}

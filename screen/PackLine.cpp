#include "screen/PackLine.h"

#include "screen/ScreenGeometry.h"

std::uint32_t DisplayColour(int physical) {
    const std::uint32_t r = (physical & 1) ? 0xFF : 0;
    const std::uint32_t g = (physical & 2) ? 0xFF : 0;
    const std::uint32_t b = (physical & 4) ? 0xFF : 0;
    return r | g << 8 | b << 16;
}

ColourLookup LogicalColourLookup(const Palette& palette) {
    ColourLookup lookup;
    for (std::size_t logical = 0; logical < palette.physical.size(); ++logical) {
        lookup.index[logical] = static_cast<std::uint8_t>(logical);
        lookup.colour[logical] = DisplayColour(palette.physical[logical]);
    }
    return lookup;
}

void PackLine(int pixelsPerByte, int cells, const std::uint8_t* codes, const ColourLookup& lookup,
              std::uint8_t* out) {
    const auto& index = lookup.index;
    std::array<std::uint8_t, 9> on{};  // MODEs 0 and 4: any colour but 0 sets the bit
    for (std::size_t code = 0; code < on.size(); ++code) on[code] = index[code] != 0;
    for (int cell = 0; cell < cells; ++cell) {
        const std::uint8_t* p = codes + cell * pixelsPerByte;
        unsigned byte = 0;
        switch (pixelsPerByte) {
            case 8:  // MODEs 0 and 4: one bit per pixel, leftmost pixel in bit 7
                for (int i = 0; i < 8; ++i) byte = 2 * byte + on[p[i]];
                break;
            case 4:  // MODEs 1 and 5: bit 1 of pixels 0..3 in bits 7..4, bit 0 in bits 3..0
                for (int i = 0; i < 4; ++i) byte = 2 * byte + ((index[p[i]] >> 1) & 1);
                for (int i = 0; i < 4; ++i) byte = 2 * byte + (index[p[i]] & 1);
                break;
            default:  // MODE 2: colour bits 2, 1, 0 interleaved, pixel 0 first; bits 7-6 stay 0
                for (int bit = 2; bit >= 0; --bit) {
                    for (int i = 0; i < 2; ++i) byte = 2 * byte + ((index[p[i]] >> bit) & 1);
                }
                break;
        }
        out[cell * kLinesPerCharacter] = static_cast<std::uint8_t>(byte);
    }
}

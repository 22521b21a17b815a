#include "convert/ColourLookups.h"

#include <bit>

#include "colour/LinearLight.h"

ColourLookup ClassicLookup(ScreenMode screenMode) {
    const Palette palette = DefaultPalette(ModeNumber(screenMode));
    const int colourCount = GeometryOf(screenMode).colourCount;
    ColourLookup lookup;
    for (int code = 0; code <= 8; ++code) {
        // A code's bits are those of the physical colour it stands for: blue 4, green 2, red 1.
        const int wanted = code == kOutsideGrid ? -1 : code;
        int best = 0;
        int bestMismatches = 4;
        for (int logical = 0; logical < colourCount && wanted >= 0; ++logical) {
            const int mismatches =
                std::popcount(static_cast<unsigned>(wanted ^ palette.physical[logical]));
            if (mismatches < bestMismatches) {
                bestMismatches = mismatches;
                best = logical;
            }
        }
        lookup.index[code] = static_cast<std::uint8_t>(best);
        lookup.colour[code] = DisplayColour(palette.physical[best]);
    }
    return lookup;
}

ColourLookup NearestPaletteLookup(const Palette& palette) {
    const auto labOf = [](int physical) {
        return LabOfLinear(physical & 1, (physical >> 1) & 1, (physical >> 2) & 1);
    };
    ColourLookup lookup;
    for (int code = 0; code < 8; ++code) {
        // A code's bits are those of the physical colour it shows: blue 4, green 2, red 1.
        const int physical = code;
        std::size_t best = 0;
        for (std::size_t logical = 1; logical < palette.physical.size(); ++logical) {
            if (SquaredDistance(labOf(physical), labOf(palette.physical[logical])) <
                SquaredDistance(labOf(physical), labOf(palette.physical[best])))
                best = logical;
        }
        lookup.index[code] = static_cast<std::uint8_t>(best);
        lookup.colour[code] = DisplayColour(palette.physical[best]);
    }
    lookup.index[kOutsideGrid] = 0;
    lookup.colour[kOutsideGrid] = DisplayColour(palette.physical[0]);
    return lookup;
}

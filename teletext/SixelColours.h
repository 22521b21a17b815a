#pragma once

#include <array>

#include "colour/LinearLight.h"
#include "screen/TeletextRow.h"

// The colour a sixel shows as the eye takes it in, over its whole area: its background, its
// foreground when set and contiguous, and when set and separated the mix of the two in linear
// light in proportion to what the foreground covers (2 of 3 dots across and 2 of 3, or 3 of 4,
// dot rows down).
struct SixelColours {
    // Linear red, green, blue of each physical colour.
    std::array<std::array<float, 3>, 8> pure{};
    // What a set separated sixel of row pair k (0 top, 1 middle, 2 bottom) shows: [k][fg][bg].
    std::array<std::array<std::array<std::array<float, 3>, 8>, 8>, 3> separated{};
    // The same in CIELAB.
    std::array<Lab, 8> pureLab{};
    std::array<std::array<std::array<Lab, 8>, 8>, 3> separatedLab{};
};

const SixelColours& TheSixelColours();

// The share of a separated sixel of row pair k that its foreground covers: 4/9 for the top and
// bottom pairs, 1/2 for the middle one.
float SeparatedShare(int pair);

// The linear colour each of the 6 sixels of a decoded cell shows (bit order of SixelPattern),
// into rgb[6][3]. A cell showing text, hidden or double height is taken as its background.
void ShownSixels(const TeletextCell& cell, float rgb[kSixelsPerCell][3]);

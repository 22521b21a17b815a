#pragma once

#include <array>
#include <cstdint>

#include "colour/Palette.h"

// What each pixel code of a scan line stands for: its logical colour and its display colour
// (red in bits 0..7, green 8..15, blue 16..23). The ordered conversion's codes are the eight
// on/off patterns of blue, green and red (blue << 2 | green << 1 | red) plus kOutsideGrid; the
// diffused conversion's codes are the logical colours themselves.
struct ColourLookup {
    std::array<std::uint8_t, 9> index{};
    std::array<std::uint32_t, 9> colour{};
};

// A pixel outside the sample grid, whose logical colour is 0.
inline constexpr std::uint8_t kOutsideGrid = 8;

// The display colour of a physical colour 0..7.
std::uint32_t DisplayColour(int physical);

// Codes that are the palette's logical colours.
ColourLookup LogicalColourLookup(const Palette& palette);

// Packs one scan line into its bytes, one per character cell, as the MODE with pixelsPerByte
// pixels to a byte lays them out; out points at the line's byte in the first cell, and the cells
// lie 8 bytes apart.
void PackLine(int pixelsPerByte, int cells, const std::uint8_t* codes, const ColourLookup& lookup,
              std::uint8_t* out);

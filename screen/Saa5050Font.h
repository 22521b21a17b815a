#pragma once

#include <array>
#include <cstdint>

// The SAA5050's character ROM: for each character &20-&7F, the dot rows 1-9 of its 6 x 10 cell
// (row 0 and the leftmost column are always blank), bit 4 the leftmost of the five dots. In
// graphics mode the characters with bit 5 set show sixels instead.
using Saa5050Glyph = std::array<std::uint8_t, 9>;
const std::array<Saa5050Glyph, 96>& Saa5050Rom();

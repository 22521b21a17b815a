#pragma once

#include <cstdint>
#include <vector>

#include "bench/quality/Plane.h"
#include "colour/Palette.h"

// The picture a BBC Micro shows for a screen memory dump, on the 320 x 256 grid in linear light:
// MODE 0's pixel pairs averaged, MODEs 1 and 4 one to one, MODEs 2 and 5 pixels doubled.
// The palette gives each logical colour's BBC colour; MODE 2's flashing logical colours 8..15
// show as logical 0..7.
// Raises std::invalid_argument for a dump of the wrong size or a palette of the wrong length.
LinearPicture ShownScreen(const std::vector<std::uint8_t>& screen, int screenMode,
                          const Palette& palette);

#pragma once

#include <cstdint>
#include <vector>

#include "bench/quality/Plane.h"

// What a viewer sees of a MODE 7 page on the 320 x 256 grid in linear light: the monitor's
// picture (DisplayTeletext) of the page's picture area, cells 1-39 of the 25 rows (624 x 500 of
// the monitor's 640 x 512), area-averaged onto the grid, which is where a conversion spreads the
// picture. Raises std::invalid_argument for a page that is not 1000 bytes.
LinearPicture ShownTeletext(const std::vector<std::uint8_t>& page);

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "disc/SlideshowDisc.h"

// A picture of a MODE whose screen bytes are all fill, so that each is recognisable on the disc.
inline DiscPicture PictureOf(const std::string& stem, int screenMode, std::uint8_t fill) {
    const std::size_t bytes = screenMode <= 2 ? 20480 : screenMode <= 5 ? 10240 : 1000;
    return {stem, screenMode, DefaultPalette(screenMode), std::vector<std::uint8_t>(bytes, fill)};
}

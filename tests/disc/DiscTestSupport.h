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

// A picture of a MODE whose screen is noise, which no packing makes smaller.
inline DiscPicture NoisyPictureOf(const std::string& stem, int screenMode) {
    DiscPicture picture = PictureOf(stem, screenMode, 0);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : picture.screen) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return picture;
}

// Side 0 or 1 of a double-sided image: its tracks, every other one, each 10 sectors of 256 bytes.
inline std::vector<std::uint8_t> SideOf(const std::vector<std::uint8_t>& dsd, int side) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t track = static_cast<std::size_t>(side) * 2560; track < dsd.size();
         track += 2 * 2560) {
        bytes.insert(bytes.end(), dsd.begin() + static_cast<std::ptrdiff_t>(track),
                     dsd.begin() + static_cast<std::ptrdiff_t>(track + 2560));
    }
    return bytes;
}

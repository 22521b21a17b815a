#pragma once

#include <cstdint>
#include <vector>

// The BBC Micro's eight physical colours, numbered as VDU 19 takes them: bit 0 red, bit 1 green,
// bit 2 blue.
enum PhysicalColour : std::uint8_t {
    kBlack = 0,
    kRed = 1,
    kGreen = 2,
    kYellow = 3,
    kBlue = 4,
    kMagenta = 5,
    kCyan = 6,
    kWhite = 7,
};

// What each logical colour of a screen shows: physical[logical], 2, 4 or 8 entries.
struct Palette {
    std::vector<std::uint8_t> physical;

    bool operator==(const Palette&) const = default;
};

// The colours a MODE shows after it is selected: MODEs 0 and 4 black and white; 1 and 5 black,
// red, yellow and white; 2 all eight in order.
Palette DefaultPalette(int screenMode);

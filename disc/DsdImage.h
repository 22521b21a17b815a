#pragma once

#include <cstdint>
#include <vector>

// A double-sided disc image (.dsd) from two single-sided ones of the same size, as emulators
// and disc tools read it: track 0 of side 0, track 0 of side 1, track 1 of side 0, and so on,
// each track 10 sectors of 256 bytes. Raises std::invalid_argument when the sides differ in size
// or are not whole tracks.
std::vector<std::uint8_t> InterleaveSides(const std::vector<std::uint8_t>& side0,
                                          const std::vector<std::uint8_t>& side1);

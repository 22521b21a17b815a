#pragma once

#include <cstdint>
#include <vector>

// Packs screen memory (any length up to 32 KB) in the packed-screen format (PackFormat.h),
// choosing among all the ways to cover it the one of fewest bytes, as near as a search that keeps
// the eight cheapest ways to reach each byte, one per last offset, finds it. The result is in
// the order it is stored, the routine reading it from the end. Never raises for any input.
std::vector<std::uint8_t> PackScreen(const std::vector<std::uint8_t>& screen);

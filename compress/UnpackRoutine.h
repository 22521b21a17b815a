#pragma once

#include <cstdint>
#include <vector>

// The 6502 routine that unpacks a packed screen on the BBC Micro (unpack.s), as the build
// assembled it: the bytes of the file that a slideshow loads at kUnpackRoutineAddress.
std::vector<std::uint8_t> UnpackRoutine();

inline constexpr std::uint32_t kUnpackRoutineAddress = 0x0900;
// CALL with X%, Y% = the address just past the packed file: unpacks it into the current MODE's
// screen and restores the MODE's colours.
inline constexpr std::uint32_t kUnpackEntry = 0x0900;
// CALL to turn the cursor off and every logical colour of the current MODE black.
inline constexpr std::uint32_t kBlankEntry = 0x0903;

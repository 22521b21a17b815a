#pragma once

#include <cstdint>

// The packed-screen format: an LZ77 stream of byte-aligned tokens, read by the 6502 routine
// (unpack.s) from its last byte down and written from the end of screen memory down, so that a
// file loaded just below the screen can be unpacked over itself. In the order the routine reads:
//
//   0LLLLLLL             a literal run: the next L+1 bytes (1-128) are the output
//   10LLLLLL             L+2 bytes (2-65) copied from the last offset used
//   11LLLLLL 0OOOOOOO    L+3 bytes (3-66) copied from offset O+1 (1-128)
//   11LLLLLL 1OOOOOOO P  L+3 bytes copied from offset (O << 8 | P) + 1 (129-32768)
//
// An offset counts back along the output in the order it is written. There is no end marker:
// the routine stops when the whole screen is written.
namespace pack {

inline constexpr int kMaxLiteralRun = 128;
inline constexpr int kMinRepeat = 2;
inline constexpr int kMaxRepeat = 65;
inline constexpr int kMinMatch = 3;
inline constexpr int kMaxMatch = 66;
inline constexpr int kMaxNearOffset = 128;
inline constexpr int kMaxOffset = 32768;

inline constexpr std::uint8_t kRepeatToken = 0x80;
inline constexpr std::uint8_t kMatchToken = 0xC0;
inline constexpr std::uint8_t kLengthBits = 0x3F;
inline constexpr std::uint8_t kFarOffset = 0x80;

}  // namespace pack

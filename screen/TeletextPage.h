#pragma once

#include <cstdint>

// MODE 7's screen memory: a teletext page of 25 rows of 40 bytes, each byte one character cell
// of the SAA5050 character generator. Bytes &80-&9F are control codes; the chip reads 7 bits, so
// &A0-&FF show the same as &20-&7F.
inline constexpr int kTeletextColumns = 40;
inline constexpr int kTeletextRows = 25;
inline constexpr int kTeletextPageBytes = kTeletextColumns * kTeletextRows;

// A cell's 2 x 3 mosaic of sixels: 3 display lines of 10 for the top and bottom pair, 4 for
// the middle one.
inline constexpr int kSixelColumns = 2;
inline constexpr int kSixelRows = 3;
inline constexpr int kSixelsPerCell = kSixelColumns * kSixelRows;

// The control codes, as screen memory holds them.
enum TeletextCode : std::uint8_t {
    kAlphaRed = 0x81,  // to kAlphaWhite = 0x87: text in that colour, from the next cell
    kAlphaWhite = 0x87,
    kFlash = 0x88,
    kSteady = 0x89,
    kNormalHeight = 0x8C,
    kDoubleHeight = 0x8D,
    kGraphicsRed = 0x91,  // to kGraphicsWhite = 0x97: mosaics in that colour, from the next cell
    kGraphicsWhite = 0x97,
    kConceal = 0x98,
    kContiguous = 0x99,
    kSeparated = 0x9A,
    kBlackBackground = 0x9C,
    kNewBackground = 0x9D,  // the background becomes the foreground colour
    kHoldGraphics = 0x9E,
    kReleaseGraphics = 0x9F,
};

inline bool IsControlCode(std::uint8_t byte) {
    return (byte & 0x60) == 0;
}

// A sixel pattern: bit 0 top left, 1 top right, 2 middle left, 3 middle right, 4 bottom left,
// 5 bottom right. The character that shows it in graphics mode is &A0 with the pattern's bits 0-4
// in bits 0-4 and its bit 5 in bit 6: bit 5 of the character is what makes it a mosaic.
inline std::uint8_t SixelByte(int pattern) {
    return static_cast<std::uint8_t>(0xA0 | (pattern & 0x1F) | (pattern & 0x20) << 1);
}

// Whether a character shows sixels in graphics mode (bit 5 set); the others show text.
inline bool IsSixelCharacter(std::uint8_t byte) {
    return (byte & 0x20) != 0;
}

// The sixel pattern of a mosaic character; the inverse of SixelByte.
inline int SixelPattern(std::uint8_t byte) {
    return (byte & 0x1F) | (byte >> 1 & 0x20);
}

#pragma once

#include <cstdint>
#include <string>

#include "sample/Samples.h"

// The BBC Micro's screen MODEs a conversion makes, by their numbers: the bitmap MODEs and MODE 7,
// the teletext page.
enum class ScreenMode : std::int16_t {
    Mode0 = 0,
    Mode1 = 1,
    Mode2 = 2,
    Mode4 = 4,
    Mode5 = 5,
    Mode7 = 7,
};

inline int ModeNumber(ScreenMode mode) {
    return static_cast<int>(mode);
}

// How a BBC Micro bitmap MODE lays out its screen memory. Every mode has 32 character rows of
// 8 scan lines; a character cell is 8 consecutive bytes, one per scan line.
struct ScreenGeometry {
    int screenMode;
    int bytesPerCharacterRow;
    int pixelsPerByte;
    int colourCount;
    int pixelsPerLine;
    int screenBytes;
    const char* sidecarLine;  // the catalogue entry: name, load address, execution address, length
};

inline constexpr int kCharacterRows = 32;
inline constexpr int kLinesPerCharacter = 8;
inline constexpr int kScanLines = kCharacterRows * kLinesPerCharacter;

// The preview a conversion draws: one pixel for each position of the sample grid.
inline constexpr int kPreviewWidth = kGridColumns;
inline constexpr int kPreviewHeight = kGridRows;

// The geometry of MODE 0, 1, 2, 4 or 5; any other mode, MODE 7 included, raises
// std::invalid_argument.
const ScreenGeometry& GeometryOf(int screenMode);
inline const ScreenGeometry& GeometryOf(ScreenMode mode) {
    return GeometryOf(ModeNumber(mode));
}

// Where a MODE's screen memory lies, which is what its screen file holds: every bitmap MODE's
// screen ends at &7FFF; MODE 7's page is the first 1000 bytes from &7C00.
struct ScreenMemory {
    int screenMode;
    std::uint32_t startAddress;
    int screenBytes;
    const char* sidecarLine;  // the catalogue entry: name, load address, execution address, length
};

// The screen memory of MODE 0, 1, 2, 4, 5 or 7; any other mode raises std::invalid_argument.
ScreenMemory ScreenMemoryOf(int screenMode);

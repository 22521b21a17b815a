#pragma once

#include <string>

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

// The preview the encoder draws into: one pixel for each sample of the 320 x 256 grid.
inline constexpr int kPreviewWidth = 320;
inline constexpr int kPreviewHeight = 256;

// The geometry of MODE 0, 1, 2, 4 or 5; any other mode raises std::invalid_argument.
const ScreenGeometry& GeometryOf(int screenMode);

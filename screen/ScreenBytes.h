#pragma once

#include <cstdint>
#include <vector>

#include "convert/Palette.h"

class PictureBox;

// The screen memory that EncodeScreen makes of the current conversion state, byte for byte what
// WriteImage writes to the screen file; the preview it draws is thrown away. InitTables and
// BuildThresholdTable must have run.
std::vector<std::uint8_t> EncodeScreenBytes();

// The same, drawing the converted picture into preview (320 x 256) as EncodeScreen does.
std::vector<std::uint8_t> EncodeScreenBytes(PictureBox& preview);

// The screen memory and the palette its logical colours stand for.
struct EncodedScreen {
    std::vector<std::uint8_t> bytes;
    Palette palette;
};
EncodedScreen EncodeScreenAndPalette(PictureBox& preview);

#pragma once

#include <cstddef>
#include <cstdint>

#include "convert/Palette.h"

class PictureBox;

// Where the screen bytes go, in increasing screen-memory offset.
class ScreenSink {
public:
    virtual ~ScreenSink() = default;
    virtual void Put(const std::uint8_t* bytes, std::size_t count) = 0;
};

// Turns the SampleGrid into the screen memory of the current ScreenMode, in the BBC Micro's byte
// order, and plots every converted pixel into the 320 x 256 preview. The bytes reach the sink a
// character row at a time, in order. Reads ConversionSettings, the SampleGrid, PaletteBits and
// ThresholdTable, which InitTables and BuildThresholdTable must have set up. With error diffusion
// chosen, the Half Toning patterns and Stagger play no part and the whole 320 x 256 grid is
// used. Returns the palette the screen's logical colours stand for.
Palette EncodeScreen(ScreenSink& sink, PictureBox& preview);

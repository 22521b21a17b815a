#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/Palette.h"
#include "screen/EncodedScreen.h"

class PictureBox;

// Where the screen bytes go, in increasing screen-memory offset.
class ScreenSink {
public:
    virtual ~ScreenSink() = default;
    virtual void Put(const std::uint8_t* bytes, std::size_t count) = 0;
};

// Turns the SampleGrid into the screen memory of the current ScreenMode and plots every
// converted pixel into the preview (at least 320 x 256), through the conversion (Convert.h) with
// the window's own state: ConversionSettings, the SampleGrid, PaletteBits (through NearestColour)
// and ThresholdTable, which InitTables and BuildThresholdTable must have set up. With error
// diffusion chosen, the Half Toning patterns and Stagger play no part and the whole 320 x 256
// grid is used. Returns the converted screen, whose preview is what was drawn.
EncodedScreen EncodeScreen(PictureBox& preview);

// The same, handing the bytes to the sink a character row at a time, in order; returns the
// palette the screen's logical colours stand for.
Palette EncodeScreen(ScreenSink& sink, PictureBox& preview);

#pragma once

#include <cstdint>
#include <vector>

#include "colour/Palette.h"
#include "platform/picture/PictureBox.h"
#include "screen/ScreenGeometry.h"

// A converted picture: everything its screen file, sidecar, preview, display render and disc
// need, made once by a conversion.
struct EncodedScreen {
    ScreenMode screenMode = ScreenMode::Mode2;
    // The MODE's screen memory, byte for byte as the BBC Micro's video circuitry reads it and as
    // the screen file holds it: 20480 or 10240 bytes.
    std::vector<std::uint8_t> bytes;
    // The physical colour each logical colour of the bytes stands for.
    Palette palette;
    // The converted picture on the kPreviewWidth x kPreviewHeight grid, each pixel in the colour
    // it is shown in.
    PictureBox preview;
};

#pragma once

#include <string>

#include "acquire/LoadPicture.h"
#include "acquire/SampleCapture.h"
#include "convert/Module1.h"
#include "convert/Palette.h"
#include "platform/picture/PictureBox.h"
#include "screen/WriteImage.h"
#include "tests/ConversionState.h"

// The shared pipeline, run directly: load, sample, convert, write to `screen`; the palette the
// conversion chose.
inline Palette ConvertDirectly(const std::string& picture, const ConversionSettingsFields& settings,
                               const std::string& screen) {
    ResetConversionState(settings);
    PictureBox source;
    PictureBox preview(320, 256);
    LoadPicture(picture, source);
    CaptureSampleGrid(source, preview);
    Module1::InitTables();
    Module1::BuildThresholdTable();
    return WriteImage(preview, screen, 255);
}

#pragma once

#include <string>

#include "app/ConversionSettings.h"
#include "colour/Palette.h"
#include "pipeline/Pipeline.h"

// The shared pipeline, run directly with the window's settings: the picture converted and
// written to `screen`; the palette the conversion chose.
inline Palette ConvertDirectly(const std::string& picture, const ConversionSettingsFields& settings,
                               const std::string& screen) {
    const EncodedScreen converted = ConvertPictureFile(picture, ChoicesOf(settings));
    WriteScreenFiles(screen, converted);
    return converted.palette;
}

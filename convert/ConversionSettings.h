#pragma once

#include <cstdint>

// What every conversion produces: the BBC Micro MODE, the halftone style, the Stagger option and
// the shape of the sample grid. The main window writes it; the conversion only reads it.
struct ConversionSettingsFields {
    std::int16_t ScreenMode = 0;   // 0, 1, 2, 4 or 5
    std::int16_t ToneStyle = 0;    // 0 None, 1 Fine, 2 Coarse, 3 Spiral, 4 Diagonal
    std::int16_t StaggerOn = 0;    // 0 off, anything else on
    std::int16_t ScaleToGrid = 0;  // 1: mode columns are mapped onto the sample grid
    std::int16_t GridWidth = 0;    // sampled columns of the SampleGrid
    std::int16_t GridHeight = 0;   // sampled rows of the SampleGrid

    bool operator==(const ConversionSettingsFields&) const = default;
};

// The values every run starts with, once the main window has loaded.
inline constexpr ConversionSettingsFields kStartSettings{2, 0, 0, 1, 320, 256};

// Zero until the main window's Form_Load sets it; never saved.
extern ConversionSettingsFields ConversionSettings;

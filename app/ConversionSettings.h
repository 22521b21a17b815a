#pragma once

#include <array>
#include <cstdint>

#include "convert/ConversionChoices.h"

// The window's conversion settings: the BBC Micro MODE, the halftone style, the Stagger option,
// the shape of the sample grid and the picture choices (error diffusion, palette, sampling, fit).
// The window's option buttons and Picture menu write it; its Convert command reads it.
struct ConversionSettingsFields {
    std::int16_t ScreenMode = 0;   // 0, 1, 2, 4 or 5
    std::int16_t ToneStyle = 0;    // 0 None, 1 Fine, 2 Coarse, 3 Spiral, 4 Diagonal
    std::int16_t StaggerOn = 0;    // 0 off, anything else on
    std::int16_t ScaleToGrid = 0;  // 1: mode columns are mapped onto the sample grid
    std::int16_t GridWidth = 0;    // sampled columns of the SampleGrid
    std::int16_t GridHeight = 0;   // sampled rows of the SampleGrid

    // The picture choices beyond the halftone patterns, each the value of its enum in
    // ConversionChoices; all 0 is the classic conversion.
    std::int16_t Diffusion = 0;      // 0 off (Half Toning applies), else a Diffusion kernel
    std::int16_t PaletteChoice = 0;  // a PaletteChoices value
    std::array<std::uint8_t, 8> PaletteList{};  // kPaletteList: the physical colours, in order
    std::int16_t Sampling = 0;                  // a ::Sampling value
    std::int16_t Fit = 0;                       // a ::Fit value
    PictureAdjustments Adjustments{};           // Picture > "Adjust Picture..."

    bool operator==(const ConversionSettingsFields&) const = default;
};

enum PaletteChoices : std::int16_t {
    kStandardPalette = 0,  // the MODE's own colours
    kBestPalette = 1,      // the colours that suit the picture best
    kPaletteList = 2,      // the user's colours in PaletteList, one per logical colour
};

// The values every run starts with, once the main window has loaded.
inline constexpr ConversionSettingsFields kStartSettings{2, 0, 0, 1, 320, 256};

// Zero until the main window's Form_Load sets it; never saved.
extern ConversionSettingsFields ConversionSettings;

// The settings as the conversion takes them; the grid's shape is not among them.
ConversionChoices ChoicesOf(const ConversionSettingsFields& settings);

// Photo Settings: the photograph recipe's picture choices (see convert/PhotoSettings.h) put into
// the settings, the MODE, halftone, Stagger and the other adjustments left as they are.
void ApplyPhotoSettings(ConversionSettingsFields& settings);

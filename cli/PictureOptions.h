#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "convert/ConversionSettings.h"

// The command line's picture choices, as given: each is unset unless its option appeared, so
// that an option given outright wins over what --photo would set, in any order.
struct PictureOptions {
    int toneStyle = 0;             // the halftone pattern -t names; 0 with a kernel
    std::optional<int> diffusion;  // set by -t: 0 for a halftone pattern, else the kernel
    std::optional<std::int16_t> paletteChoice;
    std::array<std::uint8_t, 8> paletteList{};
    int paletteListLength = 0;
    std::optional<std::int16_t> sampling;
    std::optional<std::int16_t> fit;
    bool photo = false;
};

// Each reads one option's value into the options and returns a usage error naming the valid
// values ("invalid tone 'x': use ..."), or "" when the value is sound.
std::string ReadTone(const std::string& value, PictureOptions& options);
std::string ReadPalette(const std::string& value, PictureOptions& options);
std::string ReadSampling(const std::string& value, PictureOptions& options);
std::string ReadFit(const std::string& value, PictureOptions& options);

// A usage error for choices that do not fit the MODE (a LIST of the wrong length), or "".
std::string CheckPictureOptions(const PictureOptions& options, int screenMode);

// The settings' picture fields as the options ask: --photo's recipe first, then every option
// given outright.
void ApplyPictureOptions(const PictureOptions& options, ConversionSettingsFields& settings);

// The tone as the command line spells it ("none", "fine", ..., "floyd-steinberg", ...).
std::string ToneNameOf(const ConversionSettingsFields& settings);

// ", palette best, sampling area, fit keep" for the choices that differ from the classic ones.
std::string PictureChoicesText(const ConversionSettingsFields& settings);

// The -t line and the picture options' lines of the usage text.
extern const char* const kPictureOptionsUsage;

#pragma once

#include <optional>
#include <string>

#include "convert/ConversionChoices.h"

// The command line's picture choices, as given: each is unset unless its option appeared, so
// that an option given outright wins over what --photo would set, in any order.
struct PictureOptions {
    int toneStyle = 0;                   // the halftone pattern -t names; 0 with a kernel
    std::optional<Diffusion> diffusion;  // set by -t: Off for a halftone pattern, else the kernel
    std::optional<PaletteChoice> paletteChoice;
    Palette paletteList;  // with PaletteChoice::List, as given
    std::optional<Sampling> sampling;
    std::optional<Fit> fit;
    bool photo = false;
    // The picture adjustments given outright; auto levels is a flag, on when given.
    std::optional<int> brightness, contrast, saturation;
    std::optional<double> gamma;
    bool autoLevels = false;
};

// Each reads one option's value into the options and returns a usage error naming the valid
// values ("invalid tone 'x': use ..."), or "" when the value is sound.
std::string ReadTone(const std::string& value, PictureOptions& options);
std::string ReadPalette(const std::string& value, PictureOptions& options);
std::string ReadSampling(const std::string& value, PictureOptions& options);
std::string ReadFit(const std::string& value, PictureOptions& options);
std::string ReadBrightness(const std::string& value, PictureOptions& options);
std::string ReadContrast(const std::string& value, PictureOptions& options);
std::string ReadSaturation(const std::string& value, PictureOptions& options);
std::string ReadGamma(const std::string& value, PictureOptions& options);

// A usage error for choices that do not fit the MODE (a LIST of the wrong length), or "".
std::string CheckPictureOptions(const PictureOptions& options, int screenMode);

// The choices' picture fields as the options ask: --photo's recipe first, then every option
// given outright.
void ApplyPictureOptions(const PictureOptions& options, ConversionChoices& choices);

// The tone as the command line spells it ("none", "fine", ..., "floyd-steinberg", ...).
std::string ToneNameOf(const ConversionChoices& choices);

// ", palette best, sampling area, fit keep, brightness 20, auto levels" for the choices that
// differ from the classic ones.
std::string PictureChoicesText(const ConversionChoices& choices);

// The -t line and the picture options' lines of the usage text.
extern const char* const kPictureOptionsUsage;

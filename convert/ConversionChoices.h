#pragma once

#include "colour/Palette.h"
#include "convert/ErrorDiffusion.h"
#include "convert/PictureAdjustments.h"
#include "sample/SampleGeometry.h"
#include "screen/ScreenGeometry.h"

// The four ordered halftone patterns, and None for no halftoning.
enum class Halftone : std::int16_t {
    None = 0,
    Fine = 1,
    Coarse = 2,
    Spiral = 3,
    Diagonal = 4,
};

// Which colours a screen's logical colours stand for.
enum class PaletteChoice : std::int16_t {
    Standard = 0,  // the MODE's own colours
    Best = 1,      // the colours that suit the picture best
    List = 2,      // the user's colours, one per logical colour, in order
};

// Everything a conversion is told: what to make of the samples, and (fit and sampling) how the
// picture was to be sampled. All at their first value is the classic conversion in MODE 2.
struct ConversionChoices {
    ScreenMode screenMode = ScreenMode::Mode2;
    // Ordered halftoning; plays no part while a diffusion kernel is chosen, which keeps it.
    Halftone halftone = Halftone::None;
    bool stagger = false;  // shifts the green and red halftone screens against the blue one
    Diffusion diffusion = Diffusion::Off;
    PaletteChoice palette = PaletteChoice::Standard;
    Palette paletteList;  // with PaletteChoice::List: at least the MODE's number of colours
    Sampling sampling = Sampling::Point;
    Fit fit = Fit::Stretch;
    PictureAdjustments adjustments;  // made to the samples before anything else

    bool operator==(const ConversionChoices&) const = default;
};

#pragma once

#include "bench/quality/Plane.h"

// How close a shown picture is to its source, both on the same grid in linear light.
struct QualityScore {
    double ciede2000;  // colour and tone: mean CIEDE2000 after a sigma 1 blur; lower is better
    double ssim;       // detail: mean SSIM of L* after a sigma 0.6 blur; higher is better
    // shadows: of the source's darkest tenth of grid pixels (by luminance), the share shown as
    // anything but black
    double darkLit = 0;
};

// Scores `shown` against `source` over `region` (the grid pixels the picture covers). Each blur
// is a Gaussian in grid pixels, in linear light, standing in for the eye's blending of the
// pixels; SSIM uses a data range of 100, L*'s.
QualityScore ScoreQuality(const LinearPicture& source, const LinearPicture& shown,
                          const GridRect& region);

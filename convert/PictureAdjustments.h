#pragma once

#include "sample/Samples.h"

// Changes to the picture before it is converted, each made in linear light. At their first
// values they change nothing, and the samples are left exactly as they were.
struct PictureAdjustments {
    int brightness = 0;  // -100..100: the light scaled by 2^(brightness / 50)
    int contrast = 0;    // -100..100: tones spread from mid grey 2^(contrast / 100) times as far
    int saturation = 0;  // -100..100: colours (1 + saturation / 100) times as far from grey
    double gamma = 1.0;  // 0.25..4: each channel raised to 1 / gamma; above 1 lightens mid tones
    bool autoLevels = false;  // first stretch the picture's own range of light to the full range

    bool operator==(const PictureAdjustments&) const = default;
};

// The range of each adjustment, as the command line and the window offer it.
struct AdjustmentRange {
    double lowest, neutral, highest;
};
inline constexpr AdjustmentRange kBrightnessRange{-100, 0, 100};
inline constexpr AdjustmentRange kContrastRange{-100, 0, 100};
inline constexpr AdjustmentRange kSaturationRange{-100, 0, 100};
inline constexpr AdjustmentRange kGammaRange{0.25, 1, 4};

// The samples with the adjustments made, in this order: auto levels, brightness, contrast,
// gamma, saturation; each result clamped to 0..1 and rounded to the nearest 8-bit level. Auto
// levels maps the level below which 0.5% of the samples' darkest channels lie to black and the
// level above which 0.5% of their lightest channels lie to white, in linear light; whole rows and
// columns of black at the edges (the border a kept aspect leaves) are not counted. Values
// outside the ranges are clamped to them. The samples' extra column and row stay as they are.
SamplePlanes Adjusted(const SamplePlanes& samples, const PictureAdjustments& adjustments);

#pragma once

#include <cstdint>
#include <vector>

#include "colour/LinearPicture.h"
#include "colour/Palette.h"

// The error diffusion kernels; Off leaves toning to the Half Toning patterns.
enum class Diffusion : std::int16_t {
    Off = 0,
    FloydSteinberg = 1,
    Atkinson = 2,
    Sierra = 3,  // the two-row filter
    JarvisJudiceNinke = 4,
    Search = 5,  // not a kernel: the searched dither (SearchedDither.h)
};
inline constexpr int kDiffusionCount = 6;

// The logical colour of every pixel of the picture, row by row. Each pixel takes the palette
// colour nearest (in CIELAB) to its own colour plus the error passed on to it, and passes the
// difference on to its unvisited neighbours with the kernel's weights, in linear light, so that
// every area keeps its light. Rows run left to right and right to left in turn (serpentine),
// which keeps the error from drifting one way into streaks. A pixel's colour plus error is
// clamped to -1..2, so that a colour the palette cannot reach (blue without blue) does not pile
// up error without end; it is matched as if clamped to 0..1. Search diffuses as Floyd-Steinberg.
std::vector<std::uint8_t> DiffuseOntoPalette(const LinearPicture& picture, const Palette& palette,
                                             Diffusion kernel);

// Serpentine Floyd-Steinberg, as DiffuseOntoPalette, but with the nearest colour taken in linear
// light and each channel of the error a pixel hands on cut to +-errorLimit: a colour the palette
// can only just reach is dotted in sparingly instead of in bursts. The searched dither starts
// from it. (Matched in CIELAB, whose midpoint between black and white is linear 0.18, the cut
// error could never bring a grey above 0.48 down to black.)
std::vector<std::uint8_t> DiffuseWithLimitedError(const LinearPicture& picture,
                                                  const Palette& palette, float errorLimit);

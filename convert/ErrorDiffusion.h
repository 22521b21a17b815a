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
};
inline constexpr int kDiffusionCount = 5;

// The logical colour of every pixel of the picture, row by row. Each pixel takes the palette
// colour nearest (in CIELAB) to its own colour plus the error passed on to it, and passes the
// difference on to its unvisited neighbours with the kernel's weights, in linear light, so that
// every area keeps its light. Rows run left to right and right to left in turn (serpentine),
// which keeps the error from drifting one way into streaks. A pixel's colour plus error is
// clamped to -1..2, so that a colour the palette cannot reach (blue without blue) does not pile
// up error without end; it is matched as if clamped to 0..1.
std::vector<std::uint8_t> DiffuseOntoPalette(const LinearPicture& picture, const Palette& palette,
                                             Diffusion kernel);

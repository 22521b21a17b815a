#pragma once

#include <array>
#include <cstdint>

// Light as the eye adds it up: sRGB levels decoded to linear intensities 0..1. Dithering and
// averaging are done on these, so that a 50:50 mix of black and white looks as light as the
// grey it stands for (sRGB 188, not 128).

// The linear intensity of every 8-bit sRGB level.
const std::array<float, 256>& LinearOfLevel();

inline float LinearOf(int level) {
    return LinearOfLevel()[static_cast<std::uint8_t>(level)];
}

// The nearest 8-bit sRGB level of a linear intensity; values outside 0..1 are clamped.
std::uint8_t LevelOfLinear(float linear);

// A colour in CIELAB (D65 white), where straight-line distance roughly follows how different
// two colours look.
struct Lab {
    float L = 0, a = 0, b = 0;
};

namespace linear_light_detail {
// CIELAB's f(t) at t = i / kCubeSteps, i = 0..kCubeSteps + 1 (the last repeats the edge so that
// interpolating at t = 1 stays inside the table).
inline constexpr int kCubeSteps = 4096;
extern const std::array<float, kCubeSteps + 2>& kCubeRoot;

inline float CubeRoot(float t) {
    const float scaled = (t < 0.0f ? 0.0f : t > 1.0f ? 1.0f : t) * kCubeSteps;
    const int i = static_cast<int>(scaled);
    const float frac = scaled - static_cast<float>(i);
    return kCubeRoot[i] + (kCubeRoot[i + 1] - kCubeRoot[i]) * frac;
}
}  // namespace linear_light_detail

// The CIELAB colour of a linear sRGB colour; channels outside 0..1 are clamped. Fast enough to
// call for every pixel: the cube root comes from a table.
inline Lab LabOfLinear(float red, float green, float blue) {
    using linear_light_detail::CubeRoot;
    red = red < 0.0f ? 0.0f : red > 1.0f ? 1.0f : red;
    green = green < 0.0f ? 0.0f : green > 1.0f ? 1.0f : green;
    blue = blue < 0.0f ? 0.0f : blue > 1.0f ? 1.0f : blue;
    // sRGB primaries to XYZ, each row divided by the D65 white's X, Y, Z.
    const float x = 0.4339499f * red + 0.3762098f * green + 0.1898403f * blue;
    const float y = 0.2126729f * red + 0.7151522f * green + 0.0721750f * blue;
    const float z = 0.0177566f * red + 0.1094680f * green + 0.8727755f * blue;
    const float fx = CubeRoot(x), fy = CubeRoot(y), fz = CubeRoot(z);
    return {116.0f * fy - 16.0f, 500.0f * (fx - fy), 200.0f * (fy - fz)};
}

inline float SquaredDistance(const Lab& p, const Lab& q) {
    const float dL = p.L - q.L, da = p.a - q.a, db = p.b - q.b;
    return dL * dL + da * da + db * db;
}

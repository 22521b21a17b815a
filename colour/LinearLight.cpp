#include "colour/LinearLight.h"

#include <algorithm>
#include <cmath>

namespace {

double Decode(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double Encode(double linear) {
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

}  // namespace

const std::array<float, 256>& LinearOfLevel() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int level = 0; level < 256; ++level)
            t[level] = static_cast<float>(Decode(level / 255.0));
        return t;
    }();
    return table;
}

std::uint8_t LevelOfLinear(float linear) {
    const double clamped = std::clamp(static_cast<double>(linear), 0.0, 1.0);
    return static_cast<std::uint8_t>(std::lround(Encode(clamped) * 255.0));
}

namespace linear_light_detail {

const std::array<float, kCubeSteps + 2>& kCubeRoot =
    []() -> const std::array<float, kCubeSteps + 2>& {
    static std::array<float, kCubeSteps + 2> f{};
    constexpr double kEpsilon = 216.0 / 24389.0;
    constexpr double kKappa = 24389.0 / 27.0;
    for (int i = 0; i <= kCubeSteps + 1; ++i) {
        const double t = std::min(1.0, static_cast<double>(i) / kCubeSteps);
        f[i] = static_cast<float>(t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16.0) / 116.0);
    }
    return f;
}();

}  // namespace linear_light_detail

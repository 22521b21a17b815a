#include "bench/quality/ColourScience.h"

#include <cmath>

#include "colour/ColourDifference.h"

namespace {

// The D65 white point of sRGB, in XYZ with Y = 1.
constexpr double kWhiteX = 0.95047;
constexpr double kWhiteY = 1.0;
constexpr double kWhiteZ = 1.08883;

double LabCurve(double t) {
    constexpr double kDelta = 6.0 / 29.0;
    return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3 * kDelta * kDelta) + 4.0 / 29.0;
}

}  // namespace

double SrgbToLinear(std::uint8_t encoded) {
    const double v = encoded / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

Lab LabFromLinear(double red, double green, double blue) {
    const double x = 0.4124564 * red + 0.3575761 * green + 0.1804375 * blue;
    const double y = 0.2126729 * red + 0.7151522 * green + 0.0721750 * blue;
    const double z = 0.0193339 * red + 0.1191920 * green + 0.9503041 * blue;
    const double fx = LabCurve(x / kWhiteX);
    const double fy = LabCurve(y / kWhiteY);
    const double fz = LabCurve(z / kWhiteZ);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double Ciede2000(const Lab& first, const Lab& second) {
    return Ciede2000(CielabColour{first.l, first.a, first.b},
                     CielabColour{second.l, second.a, second.b});
}

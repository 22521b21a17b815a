#include "colour/ColourDifference.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

double Pow7(double v) {
    const double v2 = v * v;
    return v2 * v2 * v2 * v;
}

// Hue angle in degrees, 0..360; a neutral colour has hue 0.
double HueDegrees(double b, double aPrime) {
    if (b == 0 && aPrime == 0) return 0;
    const double h = std::atan2(b, aPrime) * kDegrees;
    return h < 0 ? h + 360 : h;
}

double CosDegrees(double d) {
    return std::cos(d / kDegrees);
}
double SinDegrees(double d) {
    return std::sin(d / kDegrees);
}

}  // namespace

double Ciede2000(const CielabColour& first, const CielabColour& second) {
    const double c1 = std::hypot(first.a, first.b);
    const double c2 = std::hypot(second.a, second.b);
    const double cMean7 = Pow7((c1 + c2) / 2);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + Pow7(25))));
    const double a1 = (1 + g) * first.a;
    const double a2 = (1 + g) * second.a;
    const double cp1 = std::hypot(a1, first.b);
    const double cp2 = std::hypot(a2, second.b);
    const double hp1 = HueDegrees(first.b, a1);
    const double hp2 = HueDegrees(second.b, a2);
    const bool neutral = cp1 * cp2 == 0;

    double dh = 0;
    if (!neutral) {
        dh = hp2 - hp1;
        if (dh > 180) dh -= 360;
        if (dh < -180) dh += 360;
    }
    const double dL = second.l - first.l;
    const double dC = cp2 - cp1;
    const double dH = 2 * std::sqrt(cp1 * cp2) * SinDegrees(dh / 2);

    const double lMean = (first.l + second.l) / 2;
    const double cpMean = (cp1 + cp2) / 2;
    double hMean = hp1 + hp2;
    if (!neutral) {
        if (std::abs(hp1 - hp2) <= 180) {
            hMean /= 2;
        } else {
            hMean = hMean < 360 ? (hMean + 360) / 2 : (hMean - 360) / 2;
        }
    }
    const double t = 1 - 0.17 * CosDegrees(hMean - 30) + 0.24 * CosDegrees(2 * hMean) +
                     0.32 * CosDegrees(3 * hMean + 6) - 0.20 * CosDegrees(4 * hMean - 63);
    const double dTheta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double cpMean7 = Pow7(cpMean);
    const double rC = 2 * std::sqrt(cpMean7 / (cpMean7 + Pow7(25)));
    const double l50 = (lMean - 50) * (lMean - 50);
    const double sL = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sC = 1 + 0.045 * cpMean;
    const double sH = 1 + 0.015 * cpMean * t;
    const double rT = -SinDegrees(2 * dTheta) * rC;

    const double l = dL / sL, c = dC / sC, h = dH / sH;
    return std::sqrt(l * l + c * c + h * h + rT * c * h);
}

#include "convert/ColourMetric.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "colour/ColourDifference.h"

namespace {

// sRGB primaries to XYZ, each row divided by the D65 white's X, Y, Z, as LabOfLinear has them.
constexpr double kToXyz[3][3] = {{0.4339499, 0.3762098, 0.1898403},
                                 {0.2126729, 0.7151522, 0.0721750},
                                 {0.0177566, 0.1094680, 0.8727755}};
constexpr double kEpsilon = 216.0 / 24389.0;
constexpr double kKappa = 24389.0 / 27.0;

double F(double t) {
    return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16.0) / 116.0;
}

double FSlope(double t) {
    return t > kEpsilon ? 1.0 / (3.0 * std::cbrt(t * t)) : kKappa / 116.0;
}

// CIELAB of a linear colour and its Jacobian with respect to red, green and blue.
void LabAndJacobian(const double rgb[3], CielabColour& lab, double jacobian[3][3]) {
    double f[3], slope[3];
    for (int row = 0; row < 3; ++row) {
        const double t =
            kToXyz[row][0] * rgb[0] + kToXyz[row][1] * rgb[1] + kToXyz[row][2] * rgb[2];
        f[row] = F(t);
        slope[row] = FSlope(t);
    }
    lab = {116.0 * f[1] - 16.0, 500.0 * (f[0] - f[1]), 200.0 * (f[1] - f[2])};
    for (int c = 0; c < 3; ++c) {
        const double dx = slope[0] * kToXyz[0][c];
        const double dy = slope[1] * kToXyz[1][c];
        const double dz = slope[2] * kToXyz[2][c];
        jacobian[0][c] = 116.0 * dy;
        jacobian[1][c] = 500.0 * (dx - dy);
        jacobian[2][c] = 200.0 * (dy - dz);
    }
}

// CIEDE2000's quadratic form in CIELAB at lab, from differences a small step h apart: the
// squared difference is near enough quadratic there.
void LabForm(const CielabColour& lab, double form[3][3]) {
    constexpr double h = 0.05;
    const auto squared = [&](double dl, double da, double db) {
        const double d = Ciede2000(lab, {lab.l + dl, lab.a + da, lab.b + db});
        return d * d;
    };
    const double axis[3] = {squared(h, 0, 0), squared(0, h, 0), squared(0, 0, h)};
    const double pair[3][3] = {
        {0, squared(h, h, 0), squared(h, 0, h)}, {0, 0, squared(0, h, h)}, {0, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        form[i][i] = axis[i] / (h * h);
        for (int j = i + 1; j < 3; ++j)
            form[i][j] = form[j][i] = (pair[i][j] - axis[i] - axis[j]) / (2 * h * h);
    }
}

ColourMetric ExactMetric(const double rgb[3]) {
    CielabColour lab;
    double jacobian[3][3], form[3][3];
    LabAndJacobian(rgb, lab, jacobian);
    LabForm(lab, form);
    double m[3][3] = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                for (int l = 0; l < 3; ++l) m[i][j] += jacobian[k][i] * form[k][l] * jacobian[l][j];
    return {static_cast<float>(m[0][0]), static_cast<float>(m[0][1]), static_cast<float>(m[0][2]),
            static_cast<float>(m[1][1]), static_cast<float>(m[1][2]), static_cast<float>(m[2][2])};
}

// Nodes at the cubes of kSteps + 1 evenly spaced values, so that the dark colours, where the
// metric changes fastest, are covered as finely as CIELAB spaces them.
constexpr int kSteps = 16;
constexpr int kNodes = kSteps + 1;

const std::vector<ColourMetric>& MetricTable() {
    static const std::vector<ColourMetric> table = [] {
        std::vector<ColourMetric> t;
        t.reserve(kNodes * kNodes * kNodes);
        for (int b = 0; b < kNodes; ++b)
            for (int g = 0; g < kNodes; ++g)
                for (int r = 0; r < kNodes; ++r) {
                    const double rgb[3] = {std::pow(r / double(kSteps), 3),
                                           std::pow(g / double(kSteps), 3),
                                           std::pow(b / double(kSteps), 3)};
                    t.push_back(ExactMetric(rgb));
                }
        return t;
    }();
    return table;
}

}  // namespace

ColourMetric Ciede2000MetricAt(const float* rgb) {
    const std::vector<ColourMetric>& table = MetricTable();
    int node[3];
    float frac[3];
    for (int c = 0; c < 3; ++c) {
        const float at = std::cbrt(std::clamp(rgb[c], 0.0f, 1.0f)) * kSteps;
        node[c] = std::min(static_cast<int>(at), kSteps - 1);
        frac[c] = at - static_cast<float>(node[c]);
    }
    ColourMetric metric{};
    for (int corner = 0; corner < 8; ++corner) {
        float weight = 1.0f;
        std::size_t index = 0;
        std::size_t stride = 1;
        for (int c = 0; c < 3; ++c) {
            const int up = (corner >> c) & 1;
            weight *= up ? frac[c] : 1.0f - frac[c];
            index += static_cast<std::size_t>(node[c] + up) * stride;
            stride *= kNodes;
        }
        for (int k = 0; k < 6; ++k) metric[k] += weight * table[index][k];
    }
    return metric;
}

std::array<float, 3> LightnessGradientAt(const float* rgb) {
    const double y = kToXyz[1][0] * std::clamp(rgb[0], 0.0f, 1.0f) +
                     kToXyz[1][1] * std::clamp(rgb[1], 0.0f, 1.0f) +
                     kToXyz[1][2] * std::clamp(rgb[2], 0.0f, 1.0f);
    const double scale = 116.0 * FSlope(y);
    return {static_cast<float>(scale * kToXyz[1][0]), static_cast<float>(scale * kToXyz[1][1]),
            static_cast<float>(scale * kToXyz[1][2])};
}

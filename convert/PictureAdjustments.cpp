#include "convert/PictureAdjustments.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "colour/LinearLight.h"

namespace {

constexpr double kMidGrey = 0.18;        // linear light; sRGB level 118
constexpr double kClippedShare = 0.005;  // of the samples auto levels lets go black or white
constexpr double kLuminance[3] = {0.2126, 0.7152, 0.0722};  // red, green, blue

double Clamped(double value, const AdjustmentRange& range) {
    return std::clamp(value, range.lowest, range.highest);
}

// The grid cells inside the black border a kept aspect leaves.
struct Area {
    int left = 0, top = 0, right = kGridColumns, bottom = kGridRows;
};

bool Black(const SamplePlanes& samples, int x, int y) {
    return samples.RedPlane(x, y) == 0 && samples.GreenPlane(x, y) == 0 &&
           samples.BluePlane(x, y) == 0;
}

Area PictureArea(const SamplePlanes& samples) {
    const auto blackColumn = [&](int x, const Area& a) {
        for (int y = a.top; y < a.bottom; ++y)
            if (!Black(samples, x, y)) return false;
        return true;
    };
    const auto blackRow = [&](int y, const Area& a) {
        for (int x = a.left; x < a.right; ++x)
            if (!Black(samples, x, y)) return false;
        return true;
    };
    Area area;
    while (area.top < area.bottom && blackRow(area.top, area)) ++area.top;
    while (area.bottom > area.top && blackRow(area.bottom - 1, area)) --area.bottom;
    while (area.left < area.right && blackColumn(area.left, area)) ++area.left;
    while (area.right > area.left && blackColumn(area.right - 1, area)) --area.right;
    return area;
}

// The linear light that auto levels takes to black and to white.
std::array<double, 2> LevelsOf(const SamplePlanes& samples) {
    const Area area = PictureArea(samples);
    std::array<long, 256> darkest{}, lightest{};
    long count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const int r = samples.RedPlane(x, y), g = samples.GreenPlane(x, y),
                      b = samples.BluePlane(x, y);
            ++darkest[static_cast<std::size_t>(std::min({r, g, b}) & 0xFF)];
            ++lightest[static_cast<std::size_t>(std::max({r, g, b}) & 0xFF)];
            ++count;
        }
    if (count == 0) return {0.0, 1.0};
    const long clipped = static_cast<long>(kClippedShare * static_cast<double>(count));
    int low = 0, high = 255;
    for (long below = darkest[0]; below <= clipped && low < 255; below += darkest[++low]) {
    }
    for (long above = lightest[255]; above <= clipped && high > 0; above += lightest[--high]) {
    }
    if (high <= low) return {0.0, 1.0};
    return {LinearOf(low), LinearOf(high)};
}

}  // namespace

SamplePlanes Adjusted(const SamplePlanes& samples, const PictureAdjustments& adjustments) {
    if (adjustments == PictureAdjustments{}) return samples;
    const std::array<double, 2> levels =
        adjustments.autoLevels ? LevelsOf(samples) : std::array<double, 2>{0.0, 1.0};
    PictureAdjustments rest = adjustments;
    rest.autoLevels = false;
    if (levels == std::array<double, 2>{0.0, 1.0} && rest == PictureAdjustments{}) return samples;
    const double gain = std::exp2(Clamped(adjustments.brightness, kBrightnessRange) / 50.0);
    const double slope = std::exp2(Clamped(adjustments.contrast, kContrastRange) / 100.0);
    const double power = 1.0 / Clamped(adjustments.gamma, kGammaRange);
    const double colourfulness = 1.0 + Clamped(adjustments.saturation, kSaturationRange) / 100.0;

    // Every level of a channel goes through the same curve before saturation mixes them.
    std::array<double, 256> curve{};
    for (int level = 0; level < 256; ++level) {
        double v = (LinearOf(level) - levels[0]) / (levels[1] - levels[0]);
        v = std::max(0.0, v) * gain;
        v = kMidGrey * std::pow(v / kMidGrey, slope);
        curve[static_cast<std::size_t>(level)] = std::pow(std::min(1.0, v), power);
    }
    SamplePlanes adjusted = samples;
    for (int y = 0; y < kGridRows; ++y)
        for (int x = 0; x < kGridColumns; ++x) {
            std::int16_t* channels[3] = {&adjusted.RedPlane(x, y), &adjusted.GreenPlane(x, y),
                                         &adjusted.BluePlane(x, y)};
            double rgb[3];
            for (int c = 0; c < 3; ++c)
                rgb[c] = curve[static_cast<std::size_t>(*channels[c] & 0xFF)];
            const double grey =
                kLuminance[0] * rgb[0] + kLuminance[1] * rgb[1] + kLuminance[2] * rgb[2];
            for (int c = 0; c < 3; ++c) {
                const double v = grey + (rgb[c] - grey) * colourfulness;
                *channels[c] = LevelOfLinear(static_cast<float>(std::clamp(v, 0.0, 1.0)));
            }
        }
    return adjusted;
}

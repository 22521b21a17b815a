#include "bench/quality/QualityScore.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

#include "bench/quality/ColourScience.h"
#include "bench/quality/Filters.h"

namespace {

constexpr double kColourSigma = 1.0;
constexpr double kDetailSigma = 0.6;
constexpr double kLightnessRange = 100;

LinearPicture Blurred(const LinearPicture& picture, double sigma) {
    LinearPicture out(0, 0);
    out.red = GaussianBlur(picture.red, sigma);
    out.green = GaussianBlur(picture.green, sigma);
    out.blue = GaussianBlur(picture.blue, sigma);
    return out;
}

Lab LabAt(const LinearPicture& picture, int x, int y) {
    return LabFromLinear(picture.red.At(x, y), picture.green.At(x, y), picture.blue.At(x, y));
}

double MeanCiede2000(const LinearPicture& first, const LinearPicture& second,
                     const GridRect& region) {
    double total = 0;
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            total += Ciede2000(LabAt(first, x, y), LabAt(second, x, y));
        }
    }
    return total / (static_cast<double>(region.Width()) * region.Height());
}

Plane Lightness(const LinearPicture& picture) {
    Plane l(picture.red.width, picture.red.height);
    for (int y = 0; y < l.height; ++y) {
        for (int x = 0; x < l.width; ++x) l.At(x, y) = static_cast<float>(LabAt(picture, x, y).l);
    }
    return l;
}

double DarkestTenthLit(const LinearPicture& source, const LinearPicture& shown,
                       const GridRect& region) {
    std::vector<std::pair<double, bool>> pixels;
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x) {
            const double luminance = 0.2126 * source.red.At(x, y) + 0.7152 * source.green.At(x, y) +
                                     0.0722 * source.blue.At(x, y);
            const bool lit =
                shown.red.At(x, y) > 0 || shown.green.At(x, y) > 0 || shown.blue.At(x, y) > 0;
            pixels.emplace_back(luminance, lit);
        }
    const auto tenth = pixels.begin() + static_cast<std::ptrdiff_t>(pixels.size() / 10);
    std::nth_element(pixels.begin(), tenth, pixels.end());
    double lit = 0;
    for (auto p = pixels.begin(); p != tenth; ++p) lit += p->second ? 1 : 0;
    return tenth == pixels.begin() ? 0.0 : lit / static_cast<double>(tenth - pixels.begin());
}

}  // namespace

QualityScore ScoreQuality(const LinearPicture& source, const LinearPicture& shown,
                          const GridRect& region) {
    if (source.red.width != shown.red.width || source.red.height != shown.red.height) {
        throw std::invalid_argument("the pictures to compare differ in size");
    }
    if (region.Width() <= 0 || region.Height() <= 0) {
        throw std::invalid_argument("the picture covers no part of the grid");
    }
    const double colour =
        MeanCiede2000(Blurred(source, kColourSigma), Blurred(shown, kColourSigma), region);
    const double detail =
        MeanSsim(Lightness(Blurred(source, kDetailSigma)), Lightness(Blurred(shown, kDetailSigma)),
                 region, kLightnessRange);
    return {colour, detail, DarkestTenthLit(source, shown, region)};
}

#include "sample/SamplePicture.h"

#include <cmath>

#include "platform/picture/PictureBox.h"
#include "sample/AreaSampling.h"

namespace {

Samples SamplePoints(const PictureBox& source, const SampleGeometry& geometry) {
    std::vector<std::int32_t> colours(static_cast<std::size_t>(kGridColumns) * kGridRows);
    for (int y = 0; y < kGridRows; ++y) {
        const long long sy = geometry.rows.points[y];
        for (int x = 0; x < kGridColumns; ++x) {
            const long long sx = geometry.columns.points[x];
            std::int32_t v = 0;  // a border is black
            if (sx != kOutsidePicture && sy != kOutsidePicture) {
                const bool inside = sx < source.Width() && sy < source.Height();
                v = inside ? source.Point(static_cast<int>(sx), static_cast<int>(sy))
                           : PictureBox::kNoColour;
            }
            colours[static_cast<std::size_t>(x + y * kGridColumns)] = v;
        }
    }
    return Samples(std::move(colours));
}

}  // namespace

long long SamplePosition(int position, double pictureSize, int gridSize) {
    // nearbyint rounds exact halves to even under the default rounding mode. A long long holds the
    // position of any picture size, where a 16-bit position would overflow beyond 32767.
    return std::llrint(static_cast<double>(position) * pictureSize / gridSize);
}

SampleGeometry GridGeometry(int width, int height, Fit fit) {
    return PlanSampleGeometry(width, height, fit, kGridColumns, kGridRows);
}

Samples SamplePicture(const PictureBox& picture, Fit fit, Sampling sampling) {
    const SampleGeometry geometry = GridGeometry(picture.Width(), picture.Height(), fit);
    if (sampling == Sampling::Point) return SamplePoints(picture, geometry);
    return SamplesOfColours(AreaAverages(picture, geometry));
}

Samples SamplesOfColours(const std::vector<std::uint32_t>& colours) {
    return Samples(std::vector<std::int32_t>(colours.begin(), colours.end()));
}

void DrawSamples(const Samples& samples, PictureBox& preview) {
    for (int y = 0; y < kGridRows; ++y) {
        for (int x = 0; x < kGridColumns; ++x) preview.PSet(x, y, samples.At(x, y));
    }
}

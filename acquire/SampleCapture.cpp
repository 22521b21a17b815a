#include "acquire/SampleCapture.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "acquire/AreaSampling.h"
#include "acquire/SampleGeometry.h"
#include "convert/ConversionSettings.h"
#include "convert/Module1.h"
#include "platform/picture/PictureBox.h"

namespace {

constexpr int kGridColumns = 320;
constexpr int kGridRows = 256;

void StoreSample(int x, int y, std::int32_t v, PictureBox& preview) {
    using Module1::SampleGrid;
    const auto bits = static_cast<std::uint32_t>(v);
    SampleGrid.BluePlane(x, y) = static_cast<std::int16_t>((bits >> 16) & 0xFF);
    SampleGrid.GreenPlane(x, y) = static_cast<std::int16_t>((bits >> 8) & 0xFF);
    SampleGrid.RedPlane(x, y) = static_cast<std::int16_t>(bits & 0xFF);
    preview.PSet(x, y, v);
}

void CapturePoints(const PictureBox& source, const SampleGeometry& geometry, PictureBox& preview) {
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
            StoreSample(x, y, v, preview);
        }
    }
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

void CaptureSampleGrid(const PictureBox& source, PictureBox& preview) {
    const SampleGeometry geometry =
        GridGeometry(source.Width(), source.Height(), static_cast<Fit>(ConversionSettings.Fit));
    if (ConversionSettings.Sampling == 0) {
        CapturePoints(source, geometry, preview);
        return;
    }
    StoreAreaColours(AreaAverages(source, geometry), preview);
}

void StoreAreaColours(const std::vector<std::uint32_t>& colours, PictureBox& preview) {
    for (int y = 0; y < kGridRows; ++y) {
        for (int x = 0; x < kGridColumns; ++x) {
            StoreSample(x, y, static_cast<std::int32_t>(colours[y * kGridColumns + x]), preview);
        }
    }
}

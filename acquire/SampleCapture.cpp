#include "acquire/SampleCapture.h"

#include <cmath>
#include <cstdint>

#include "convert/Module1.h"
#include "platform/picture/PictureBox.h"

namespace {

constexpr int kGridColumns = 320;
constexpr int kGridRows = 256;

}  // namespace

long long SamplePosition(int position, double pictureSize, int gridSize) {
    // nearbyint rounds exact halves to even under the default rounding mode. A long long holds the
    // position of any picture size, where a 16-bit position would overflow beyond 32767.
    return std::llrint(static_cast<double>(position) * pictureSize / gridSize);
}

void CaptureSampleGrid(const PictureBox& source, PictureBox& preview) {
    using Module1::SampleGrid;
    for (int y = 0; y < kGridRows; ++y) {
        const long long sy = SamplePosition(y, source.ScaleHeight(), kGridRows);
        for (int x = 0; x < kGridColumns; ++x) {
            const long long sx = SamplePosition(x, source.ScaleWidth(), kGridColumns);
            const bool inside = sx < source.Width() && sy < source.Height();
            const std::int32_t v = inside ? source.Point(static_cast<int>(sx), static_cast<int>(sy))
                                          : PictureBox::kNoColour;
            const auto bits = static_cast<std::uint32_t>(v);
            SampleGrid.BluePlane(x, y) = static_cast<std::int16_t>((bits >> 16) & 0xFF);
            SampleGrid.GreenPlane(x, y) = static_cast<std::int16_t>((bits >> 8) & 0xFF);
            SampleGrid.RedPlane(x, y) = static_cast<std::int16_t>(bits & 0xFF);
            preview.PSet(x, y, v);
        }
    }
}

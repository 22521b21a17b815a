#include "sample/Samples.h"

#include <stdexcept>

namespace {

constexpr int kPlaneStride = kGridColumns + 1;  // elements per row of a plane (columns 0..320)

// Each colour value's channels, taken from its 32-bit two's-complement form: -1 gives 255 in all
// three.
std::shared_ptr<const SamplePlanes> PlanesOf(const std::vector<std::int32_t>& colours) {
    auto planes = std::make_shared<SamplePlanes>();
    for (int y = 0; y < kGridRows; ++y) {
        std::int16_t* blue = planes->BluePlane.Data() + y * kPlaneStride;
        std::int16_t* green = planes->GreenPlane.Data() + y * kPlaneStride;
        std::int16_t* red = planes->RedPlane.Data() + y * kPlaneStride;
        const std::int32_t* row = colours.data() + static_cast<std::size_t>(y) * kGridColumns;
        for (int x = 0; x < kGridColumns; ++x) {
            const auto bits = static_cast<std::uint32_t>(row[x]);
            blue[x] = static_cast<std::int16_t>((bits >> 16) & 0xFF);
            green[x] = static_cast<std::int16_t>((bits >> 8) & 0xFF);
            red[x] = static_cast<std::int16_t>(bits & 0xFF);
        }
    }
    return planes;
}

}  // namespace

Samples::Samples() : Samples(std::vector<std::int32_t>(kGridColumns * kGridRows, 0)) {}

Samples::Samples(std::vector<std::int32_t> colours) : colours_(std::move(colours)) {
    if (colours_.size() != static_cast<std::size_t>(kGridColumns) * kGridRows)
        throw std::invalid_argument("samples need exactly 320 x 256 colour values");
    planes_ = PlanesOf(colours_);
}

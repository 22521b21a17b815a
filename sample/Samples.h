#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sample/BoundedTable.h"

// Every picture is sampled onto this grid, whatever its size, and every conversion works from it.
inline constexpr int kGridColumns = 320;
inline constexpr int kGridRows = 256;

// How a conversion reads the samples: one plane per channel of signed 16-bit intensities 0..255,
// indexed (x, y), declared with bounds (0..320, 0..256). Column 320 and row 256 exist and hold 0;
// reading past them raises SubscriptOutOfRange.
using SamplePlane = BoundedTable<std::int16_t, kGridColumns, kGridRows>;
struct SamplePlanes {
    SamplePlane BluePlane;
    SamplePlane GreenPlane;
    SamplePlane RedPlane;
};

// A picture sampled onto the grid, as a value: the colour value read at each grid position (red
// in bits 0..7, green 8..15, blue 16..23) and the same split into planes. A position just past
// the picture's edge reads as -1, which stands for 255 in every plane. Copies share the planes.
class Samples {
public:
    // Every sample black.
    Samples();
    // colours: kGridColumns x kGridRows colour values, row by row from the top; any other count
    // raises std::invalid_argument.
    explicit Samples(std::vector<std::int32_t> colours);

    std::int32_t At(int x, int y) const {
        return colours_[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * kGridColumns];
    }
    const std::vector<std::int32_t>& Colours() const { return colours_; }
    const SamplePlanes& Planes() const { return *planes_; }

    bool operator==(const Samples& other) const { return colours_ == other.colours_; }

private:
    std::vector<std::int32_t> colours_;
    std::shared_ptr<const SamplePlanes> planes_;
};

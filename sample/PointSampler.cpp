#include "sample/PointSampler.h"

#include <algorithm>

#include "platform/picture/PictureBox.h"

PointSampler::PointSampler(const SampleMapping& mapping, const StoredPicture& picture)
    : gridWidth_(static_cast<int>(mapping.columns.size())),
      gridHeight_(static_cast<int>(mapping.rows.size())),
      values_(mapping.columns.size() * mapping.rows.size(), PictureBox::kNoColour) {
    taps_.reserve(values_.size());
    for (int y = 0; y < gridHeight_; ++y) {
        const int uprightY = mapping.rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < gridWidth_; ++x) {
            const int uprightX = mapping.columns[static_cast<std::size_t>(x)];
            if (uprightX == SampleMapping::kBorder || uprightY == SampleMapping::kBorder) {
                values_[static_cast<std::size_t>(x + y * gridWidth_)] = 0;  // a border is black
            }
            if (uprightX < 0 || uprightY < 0) continue;
            const StoredPixel stored = StoredPosition(picture, uprightX, uprightY);
            taps_.push_back({stored.y, stored.x, x + y * gridWidth_});
        }
    }
    // By row (as they come already, unless the picture is turned or flipped), in a pass that
    // counts them: the sampler is set up for every picture converted, and a comparison sort of
    // the grid's 81,920 taps would cost more than sampling a small picture.
    const auto byRow = [](const Tap& a, const Tap& b) { return a.row < b.row; };
    if (!std::is_sorted(taps_.begin(), taps_.end(), byRow)) {
        std::vector<std::size_t> start(static_cast<std::size_t>(picture.height) + 1, 0);
        for (const Tap& tap : taps_) ++start[static_cast<std::size_t>(tap.row) + 1];
        for (std::size_t row = 1; row < start.size(); ++row) start[row] += start[row - 1];
        std::vector<Tap> sorted(taps_.size());
        for (const Tap& tap : taps_) sorted[start[static_cast<std::size_t>(tap.row)]++] = tap;
        taps_ = std::move(sorted);
    }
    for (const Tap& tap : taps_) {
        if (rows_.empty() || rows_.back() != tap.row) rows_.push_back(tap.row);
        if (columns_.end == 0) columns_ = {tap.column, tap.column + 1};
        columns_ = {std::min(columns_.begin, tap.column), std::max(columns_.end, tap.column + 1)};
    }
}

void PointSampler::TakeRow(int row, const std::uint32_t* pixels) {
    auto tap = std::lower_bound(taps_.begin(), taps_.end(), row,
                                [](const Tap& t, int wanted) { return t.row < wanted; });
    for (; tap != taps_.end() && tap->row == row; ++tap) {
        const std::uint32_t pixel = pixels[tap->column];
        // 0xXXRRGGBB to the colour value: red in bits 0..7, green 8..15, blue 16..23.
        values_[static_cast<std::size_t>(tap->cell)] = static_cast<std::int32_t>(
            ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16));
    }
}

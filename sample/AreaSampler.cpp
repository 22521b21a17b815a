#include "sample/AreaSampler.h"

#include <algorithm>

#include "sample/AreaSampling.h"

namespace {

// The spans seen from the other end of an axis size pixels long.
std::vector<SourceSpan> Mirrored(std::vector<SourceSpan> spans, long long size) {
    for (SourceSpan& span : spans) {
        if (span.end > span.begin) span = {size - span.end, size - span.begin};
    }
    return spans;
}

}  // namespace

AreaSampler::AreaSampler(const SampleGeometry& geometry, const StoredPicture& picture)
    : geometry_(geometry) {
    const std::size_t gridWidth = geometry.columns.spans.size();
    const int o = picture.orientation;
    const bool swap = picture.SidesSwap();
    // Which upright axis runs down the stored picture and which along its rows, and whether
    // either runs backwards (see StoredPosition).
    const std::vector<SourceSpan>& downUpright =
        swap ? geometry.columns.spans : geometry.rows.spans;
    const std::vector<SourceSpan>& acrossUpright =
        swap ? geometry.rows.spans : geometry.columns.spans;
    const bool downBackwards = swap ? (o == 6 || o == 7) : (o == 3 || o == 4);
    const bool acrossBackwards = swap ? (o == 7 || o == 8) : (o == 2 || o == 3);
    const std::vector<SourceSpan> down =
        downBackwards ? Mirrored(downUpright, picture.height) : downUpright;
    across_ = acrossBackwards ? Mirrored(acrossUpright, picture.width) : acrossUpright;
    downStride_ = swap ? 1 : gridWidth;
    acrossStride_ = swap ? gridWidth : 1;

    for (std::size_t cell = 0; cell < down.size(); ++cell) {
        for (long long row = down[cell].begin; row < down[cell].end; ++row) {
            covers_.push_back({static_cast<int>(row), static_cast<int>(cell)});
        }
    }
    std::stable_sort(covers_.begin(), covers_.end(),
                     [](const Cover& a, const Cover& b) { return a.row < b.row; });
    for (const Cover& cover : covers_) {
        if (rows_.empty() || rows_.back() != cover.row) rows_.push_back(cover.row);
    }
    for (const SourceSpan& span : across_) {
        if (span.end <= span.begin) continue;
        const auto begin = static_cast<int>(span.begin);
        const auto end = static_cast<int>(span.end);
        columns_ = columns_.end == 0
                       ? ColumnRange{begin, end}
                       : ColumnRange{std::min(columns_.begin, begin), std::max(columns_.end, end)};
    }
    sums_.resize(gridWidth * geometry.rows.spans.size());
}

void AreaSampler::TakeRow(int row, const std::uint32_t* pixels) {
    // The row's sum over each cell's columns once, then into every cell that covers the row.
    std::vector<LinearSum> rowSums(across_.size());
    for (std::size_t i = 0; i < across_.size(); ++i) {
        AddSpan(pixels, across_[i].begin, across_[i].end, 16, rowSums[i]);
    }
    auto cover = std::lower_bound(covers_.begin(), covers_.end(), row,
                                  [](const Cover& c, int wanted) { return c.row < wanted; });
    for (; cover != covers_.end() && cover->row == row; ++cover) {
        LinearSum* cells = sums_.data() + static_cast<std::size_t>(cover->cell) * downStride_;
        for (std::size_t i = 0; i < across_.size(); ++i) cells[i * acrossStride_] += rowSums[i];
    }
}

std::vector<std::uint32_t> AreaSampler::Colours() const {
    return CellColours(geometry_, sums_);
}

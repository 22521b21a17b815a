#include "sample/AreaSampling.h"

#include <algorithm>

#include "platform/picture/PictureBox.h"
#include "sample/LinearSums.h"

std::vector<std::uint32_t> AreaAverages(const PictureBox& source, const SampleGeometry& geometry) {
    const std::vector<SourceSpan>& columns = geometry.columns.spans;
    const std::vector<SourceSpan>& rows = geometry.rows.spans;
    const int redShift = source.PixelLayout() == PictureBox::Layout::Argb32 ? 16 : 0;
    std::vector<LinearSum> sums(columns.size() * rows.size());
    for (std::size_t gy = 0; gy < rows.size(); ++gy) {
        LinearSum* cells = sums.data() + gy * columns.size();
        for (long long sy = rows[gy].begin; sy < rows[gy].end; ++sy) {
            const std::uint32_t* row = source.Row(static_cast<int>(sy));
            for (std::size_t gx = 0; gx < columns.size(); ++gx) {
                AddSpan(row, columns[gx].begin, columns[gx].end, redShift, cells[gx]);
            }
        }
    }
    return CellColours(geometry, sums);
}

std::vector<std::uint32_t> CellColours(const SampleGeometry& geometry,
                                       const std::vector<LinearSum>& sums) {
    const std::vector<SourceSpan>& columns = geometry.columns.spans;
    const std::vector<SourceSpan>& rows = geometry.rows.spans;
    std::vector<std::uint32_t> colours(sums.size());
    for (std::size_t gy = 0; gy < rows.size(); ++gy) {
        for (std::size_t gx = 0; gx < columns.size(); ++gx) {
            const long long count = std::max(0LL, columns[gx].end - columns[gx].begin) *
                                    std::max(0LL, rows[gy].end - rows[gy].begin);
            const std::size_t cell = gx + gy * columns.size();
            colours[cell] = MeanColour(sums[cell], count);
        }
    }
    return colours;
}

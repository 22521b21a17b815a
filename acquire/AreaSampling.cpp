#include "acquire/AreaSampling.h"

#include <algorithm>

#include "acquire/LinearSums.h"
#include "platform/picture/PictureBox.h"

std::vector<std::uint32_t> AreaAverages(const PictureBox& source, const SampleGeometry& geometry) {
    const std::vector<SourceSpan>& columns = geometry.columns.spans;
    const std::vector<SourceSpan>& rows = geometry.rows.spans;
    const int redShift = source.PixelLayout() == PictureBox::Layout::Argb32 ? 16 : 0;
    std::vector<std::uint32_t> colours(columns.size() * rows.size(), 0);
    std::vector<LinearSum> sums(columns.size());
    for (std::size_t gy = 0; gy < rows.size(); ++gy) {
        const SourceSpan down = rows[gy];
        if (down.end <= down.begin) continue;
        std::fill(sums.begin(), sums.end(), LinearSum{});
        for (long long sy = down.begin; sy < down.end; ++sy) {
            const std::uint32_t* row = source.Row(static_cast<int>(sy));
            for (std::size_t gx = 0; gx < columns.size(); ++gx) {
                AddSpan(row, columns[gx].begin, columns[gx].end, redShift, sums[gx]);
            }
        }
        for (std::size_t gx = 0; gx < columns.size(); ++gx) {
            const SourceSpan across = columns[gx];
            colours[gy * columns.size() + gx] =
                MeanColour(sums[gx], (across.end - across.begin) * (down.end - down.begin));
        }
    }
    return colours;
}

#include "sample/AreaSampling.h"

#include <algorithm>

#include "sample/LinearSums.h"

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

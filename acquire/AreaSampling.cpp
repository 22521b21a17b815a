#include "acquire/AreaSampling.h"

#include "convert/LinearLight.h"
#include "platform/picture/PictureBox.h"

namespace {

// One source row's running sums in linear light: prefix[3 * i + c] is the sum of channel c
// (red, green, blue) over pixels 0..i-1, so any span's sum is two look-ups.
void PrefixSums(const PictureBox& source, int y, std::vector<double>& prefix) {
    const std::uint32_t* row = source.Row(y);
    const bool argb = source.PixelLayout() == PictureBox::Layout::Argb32;
    const int redShift = argb ? 16 : 0;
    const int blueShift = argb ? 0 : 16;
    double sum[3] = {0, 0, 0};
    for (int x = 0; x < source.Width(); ++x) {
        const std::uint32_t v = row[x];
        sum[0] += LinearOf((v >> redShift) & 0xFF);
        sum[1] += LinearOf((v >> 8) & 0xFF);
        sum[2] += LinearOf((v >> blueShift) & 0xFF);
        for (int c = 0; c < 3; ++c) prefix[3 * (x + 1) + c] = sum[c];
    }
}

}  // namespace

std::vector<std::uint32_t> AreaAverages(const PictureBox& source, const SampleGeometry& geometry) {
    const std::vector<SourceSpan>& columns = geometry.columns.spans;
    const std::vector<SourceSpan>& rows = geometry.rows.spans;
    std::vector<std::uint32_t> colours(columns.size() * rows.size(), 0);
    std::vector<double> prefix(3 * (static_cast<std::size_t>(source.Width()) + 1), 0.0);
    std::vector<double> sums(3 * columns.size());
    for (std::size_t gy = 0; gy < rows.size(); ++gy) {
        const SourceSpan down = rows[gy];
        if (down.end <= down.begin) continue;
        std::fill(sums.begin(), sums.end(), 0.0);
        for (long long sy = down.begin; sy < down.end; ++sy) {
            PrefixSums(source, static_cast<int>(sy), prefix);
            for (std::size_t gx = 0; gx < columns.size(); ++gx) {
                const SourceSpan across = columns[gx];
                if (across.end <= across.begin) continue;
                for (int c = 0; c < 3; ++c) {
                    sums[3 * gx + c] += prefix[3 * across.end + c] - prefix[3 * across.begin + c];
                }
            }
        }
        for (std::size_t gx = 0; gx < columns.size(); ++gx) {
            const SourceSpan across = columns[gx];
            if (across.end <= across.begin) continue;
            const double count =
                static_cast<double>((across.end - across.begin) * (down.end - down.begin));
            std::uint32_t colour = 0;
            for (int c = 0; c < 3; ++c) {
                colour |= static_cast<std::uint32_t>(
                              LevelOfLinear(static_cast<float>(sums[3 * gx + c] / count)))
                          << (8 * c);
            }
            colours[gy * columns.size() + gx] = colour;
        }
    }
    return colours;
}

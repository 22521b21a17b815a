#include "teletext/SixelTargets.h"

#include <algorithm>

#include "colour/LinearLight.h"

namespace {

// The grid positions a stretch [from, to) of the grid covers, each with the length it covers.
struct Span {
    int first = 0;
    std::vector<float> weights;
};

Span Covering(double from, double to) {
    Span span;
    span.first = static_cast<int>(from);
    for (int at = span.first; at < to; ++at)
        span.weights.push_back(
            static_cast<float>(std::min<double>(at + 1, to) - std::max<double>(at, from)));
    return span;
}

}  // namespace

SixelTargets TargetsOf(const SamplePlanes& samples) {
    std::vector<float> linear(3 * kGridColumns * kGridRows);
    for (int y = 0; y < kGridRows; ++y)
        for (int x = 0; x < kGridColumns; ++x) {
            float* out = linear.data() + 3 * (y * kGridColumns + x);
            out[0] = LinearOf(samples.RedPlane(x, y));
            out[1] = LinearOf(samples.GreenPlane(x, y));
            out[2] = LinearOf(samples.BluePlane(x, y));
        }

    std::vector<Span> columns, rows;
    const double columnWidth = static_cast<double>(kGridColumns) / kPictureSixelColumns;
    for (int c = 0; c < kPictureSixelColumns; ++c)
        columns.push_back(Covering(c * columnWidth, (c + 1) * columnWidth));
    const double tenth = static_cast<double>(kGridRows) / (kTeletextRows * 10);
    for (int r = 0; r < kTeletextRows; ++r) {
        int top = r * 10;
        for (const int tenths : kSixelRowTenths) {
            rows.push_back(Covering(top * tenth, (top + tenths) * tenth));
            top += tenths;
        }
    }

    SixelTargets targets;
    for (int r = 0; r < kPictureSixelRows; ++r) {
        const Span& rowSpan = rows[r];
        for (int c = 0; c < kPictureSixelColumns; ++c) {
            const Span& columnSpan = columns[c];
            float sum[3] = {0, 0, 0}, total = 0;
            for (std::size_t j = 0; j < rowSpan.weights.size(); ++j) {
                const int y = std::min(rowSpan.first + static_cast<int>(j), kGridRows - 1);
                for (std::size_t i = 0; i < columnSpan.weights.size(); ++i) {
                    const int x =
                        std::min(columnSpan.first + static_cast<int>(i), kGridColumns - 1);
                    const float w = rowSpan.weights[j] * columnSpan.weights[i];
                    const float* pixel = linear.data() + 3 * (y * kGridColumns + x);
                    for (int k = 0; k < 3; ++k) sum[k] += w * pixel[k];
                    total += w;
                }
            }
            float* out = targets.At(c, r);
            for (int k = 0; k < 3; ++k) out[k] = sum[k] / total;
        }
    }
    return targets;
}

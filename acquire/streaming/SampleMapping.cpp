#include "acquire/streaming/SampleMapping.h"

namespace {

// The sample grid, as CaptureSampleGrid spreads it.
constexpr int kGridColumns = 320;
constexpr int kGridRows = 256;

std::vector<int> Positions(const GridAxis& axis, int pictureSize) {
    std::vector<int> positions;
    positions.reserve(axis.points.size());
    for (const long long point : axis.points) {
        positions.push_back(point == kOutsidePicture ? SampleMapping::kBorder
                            : point < pictureSize    ? static_cast<int>(point)
                                                     : SampleMapping::kPastTheEdge);
    }
    return positions;
}

}  // namespace

SampleMapping PointMapping(int width, int height, Fit fit) {
    const SampleGeometry geometry = PlanSampleGeometry(width, height, fit, kGridColumns, kGridRows);
    return {Positions(geometry.columns, width), Positions(geometry.rows, height)};
}

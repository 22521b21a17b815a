#include "sample/SampleMapping.h"

#include "sample/SamplePicture.h"

namespace {

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
    const SampleGeometry geometry = GridGeometry(width, height, fit);
    return {Positions(geometry.columns, width), Positions(geometry.rows, height)};
}

#include "sample/SampleGeometry.h"

#include <algorithm>
#include <cmath>

#include "sample/SamplePicture.h"

namespace {

// The screen's shape as a monitor shows it.
constexpr double kScreenAspect = 4.0 / 3.0;

// The picture spans grid cells [offset, offset + size) along one axis, in fractions of a cell.
struct Placement {
    double offset;
    double size;
};

GridAxis Axis(int pictureSize, int gridSize, Fit fit, Placement placement) {
    GridAxis axis;
    const double scale = pictureSize / placement.size;  // source pixels per grid cell
    for (int cell = 0; cell < gridSize; ++cell) {
        const double begin = (cell - placement.offset) * scale;
        const double end = (cell + 1 - placement.offset) * scale;
        if (fit == Fit::Stretch) {
            axis.points.push_back(SamplePosition(cell, pictureSize, gridSize));
        } else {
            const double centre = (cell + 0.5 - placement.offset) * scale;
            axis.points.push_back(centre < 0 || centre >= pictureSize
                                      ? kOutsidePicture
                                      : static_cast<long long>(std::floor(centre)));
        }
        if (end <= 0 || begin >= pictureSize) {
            axis.spans.push_back({});
            continue;
        }
        long long first = std::llround(std::max(begin, 0.0));
        long long last = std::llround(std::min(end, static_cast<double>(pictureSize)));
        first = std::min<long long>(first, pictureSize - 1);
        last = std::max(last, first + 1);
        axis.spans.push_back({first, last});
    }
    return axis;
}

}  // namespace

SampleGeometry PlanSampleGeometry(int pictureWidth, int pictureHeight, Fit fit, int gridColumns,
                                  int gridRows) {
    Placement across{0, static_cast<double>(gridColumns)};
    Placement down{0, static_cast<double>(gridRows)};
    if (fit != Fit::Stretch && pictureWidth > 0 && pictureHeight > 0) {
        const double aspect = static_cast<double>(pictureWidth) / pictureHeight;
        // Keep shrinks the axis along which the picture is relatively shorter; Fill grows the
        // other one.
        const bool wider = aspect >= kScreenAspect;
        if (wider == (fit == Fit::Keep)) {
            down.size = gridRows * kScreenAspect / aspect;
        } else {
            across.size = gridColumns * aspect / kScreenAspect;
        }
        across.offset = (gridColumns - across.size) / 2;
        down.offset = (gridRows - down.size) / 2;
    }
    return {Axis(pictureWidth, gridColumns, fit, across), Axis(pictureHeight, gridRows, fit, down)};
}

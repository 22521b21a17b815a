#pragma once

#include <vector>

#include "sample/SampleGeometry.h"

// Which picture pixels the sample grid reads, as plain data: one entry per grid column and one
// per grid row, each the column (row) of the upright picture that point sampling reads there,
// kPastTheEdge for a position just outside the picture, which reads as -1 (255 in all three
// planes), or kBorder for a cell of the black border that a kept aspect leaves.
struct SampleMapping {
    static constexpr int kPastTheEdge = -1;
    static constexpr int kBorder = -2;
    std::vector<int> columns;
    std::vector<int> rows;
};

// The grid placed on a width x height upright picture as CaptureSampleGrid places it for fit.
SampleMapping PointMapping(int width, int height, Fit fit);

#pragma once

#include <vector>

// Which picture pixels the sample grid reads, as plain data: one entry per grid column and one
// per grid row, each the column (row) of the upright picture that point sampling reads there, or
// -1 for a position outside the picture, which reads as -1 (255 in all three planes).
struct SampleMapping {
    std::vector<int> columns;
    std::vector<int> rows;
};

// The grid spread over the whole picture as CaptureSampleGrid spreads it (SamplePosition), for
// a width x height upright picture.
SampleMapping StretchMapping(int width, int height);

#pragma once

#include <cstdint>
#include <vector>

// How the picture is placed on the 4:3 screen.
enum class Fit : std::int16_t {
    Stretch = 0,  // the whole picture fills the whole screen, whatever its shape
    Keep = 1,     // the whole picture, keeping its shape, centred on black
    Fill = 2,     // the screen covered, keeping the picture's shape, cropped centrally
};

// How a grid position takes its colour from the picture.
enum class Sampling : std::int16_t {
    Point = 0,  // the one pixel at the position
    Area = 1,   // the mean, in linear light, of the pixels the cell covers
};

// The source pixels [begin, end) along one axis that a grid cell averages; empty when the cell
// lies outside the picture.
struct SourceSpan {
    long long begin = 0;
    long long end = 0;
    bool operator==(const SourceSpan&) const = default;
};

inline constexpr long long kOutsidePicture = -1;

// Where the grid's cells fall on the picture along one axis, one entry per grid column (or row).
struct GridAxis {
    // Point sampling: the source column (row) each cell reads, or kOutsidePicture for a border
    // cell, which is black. Stretch keeps the classic positions, which for a picture narrower
    // than half the grid may lie just past its edge; such a read gives the colour -1, that is
    // 255 in every plane.
    std::vector<long long> points;
    // Area sampling: the source columns (rows) each cell covers, never empty for a cell that
    // overlaps the picture.
    std::vector<SourceSpan> spans;
};

// The grid->picture mapping as plain data, so that any sampler (a picture in memory, or one
// streamed row by row, which then reads only the rows named here) places the grid the same way.
struct SampleGeometry {
    GridAxis columns;
    GridAxis rows;
};

// The mapping of a gridColumns x gridRows grid, shown on a 4:3 monitor as the BBC Micro's 640 x
// 512 screen is, onto a picture of square pixels.
SampleGeometry PlanSampleGeometry(int pictureWidth, int pictureHeight, Fit fit, int gridColumns,
                                  int gridRows);

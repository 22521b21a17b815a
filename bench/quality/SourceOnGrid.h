#pragma once

#include <cstdint>
#include <functional>

#include "bench/quality/Plane.h"

// How a picture is laid on the 320 x 256 grid.
enum class GridFit {
    Stretch,  // the whole picture fills the grid
    Keep,     // the whole picture keeps its shape on a 4:3 monitor, centred on black
    Fill,     // the picture keeps its shape and covers the grid, cropped centrally
};

// Where the picture lies on the grid, in grid pixels (it may reach past the grid's edges).
struct Placement {
    double left, top, width, height;
};

Placement PlacementOf(int pictureWidth, int pictureHeight, GridFit fit);

// The grid pixels the picture covers at least half of, clipped to the grid.
GridRect CoveredRect(const Placement& placement);

// Gives row y of a picture: width pixels of 8-bit sRGB, red, green and blue.
using RowSource = std::function<const std::uint8_t*(int y)>;

// The picture area-averaged onto the 320 x 256 grid in linear light: each grid pixel is the mean
// of the picture area over it, counting the parts of the pixel outside the picture as black.
LinearPicture SourceOnGrid(const RowSource& rows, int width, int height,
                           const Placement& placement);

#pragma once

#include <cstdint>
#include <vector>

#include "sample/LinearSums.h"
#include "sample/SampleGeometry.h"

class PictureBox;

// The mean colour of the source pixels each grid cell covers, averaged in linear light and
// encoded back to sRGB, as colour values (red in bits 0..7); cells that cover nothing are black.
// Row by row over the grid, geometry.columns.spans.size() cells to a row. The sums are exact
// (LinearSums), so the converter's sampler, which adds the same pixels in the order they
// decode, gives the same colours.
std::vector<std::uint32_t> AreaAverages(const PictureBox& source, const SampleGeometry& geometry);

// The mean colour of each cell from the sum of its pixels (sums and colours by cell, x + y * grid
// width); black for a cell that covers nothing.
std::vector<std::uint32_t> CellColours(const SampleGeometry& geometry,
                                       const std::vector<LinearSum>& sums);

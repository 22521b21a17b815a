#pragma once

#include <cstdint>
#include <vector>

#include "acquire/SampleGeometry.h"

class PictureBox;

// The mean colour of the source pixels each grid cell covers, averaged in linear light and
// encoded back to sRGB, as colour values (red in bits 0..7); cells that cover nothing are black.
// Row by row over the grid, geometry.columns.spans.size() cells to a row. The source is read
// one row at a time and each row's pixels once per grid row that covers it.
std::vector<std::uint32_t> AreaAverages(const PictureBox& source, const SampleGeometry& geometry);

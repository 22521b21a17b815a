#pragma once

#include <cstdint>
#include <vector>

#include "sample/LinearSums.h"
#include "sample/SampleGeometry.h"

// The mean colour of each cell from the sum of its pixels (sums and colours by cell, x + y * grid
// width); black for a cell that covers nothing.
std::vector<std::uint32_t> CellColours(const SampleGeometry& geometry,
                                       const std::vector<LinearSum>& sums);

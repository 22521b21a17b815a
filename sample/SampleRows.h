#pragma once

#include "sample/RowFeed.h"
#include "sample/SampleGeometry.h"
#include "sample/Samples.h"

// Samples a picture from its rows as its source hands them over, placed on the grid by fit, the
// one way every picture is sampled (a file while it decodes, or a picture held in memory):
// point sampling keeps the one pixel of each grid position (PointSampler), area sampling adds
// every pixel into its cell's exact sums in linear light (AreaSampler). Raises what the source
// raises.
Samples SampleRows(RowSource& rows, Fit fit, Sampling sampling);

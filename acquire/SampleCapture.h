#pragma once

#include <cstdint>
#include <vector>

#include "acquire/SampleGeometry.h"

class PictureBox;

// One sampling pass: lays the 320 x 256 grid over the source picture as ConversionSettings.Fit
// says (see SampleGeometry), stores each sample's blue, green and red intensities in the
// SampleGrid and draws the raw sample into the preview. Point sampling (Sampling 0) takes one
// pixel per sample; a position outside the picture reads as -1, which gives 255 in all three
// planes, and a border of Keep aspect is black. Area sampling (Sampling 1) takes the mean of the
// pixels each cell covers, in linear light.
void CaptureSampleGrid(const PictureBox& source, PictureBox& preview);

// The 320 x 256 grid placed on a width x height picture for fit.
SampleGeometry GridGeometry(int width, int height, Fit fit);

// Stores area sampling's colour values (AreaAverages), 320 to a row, as CaptureSampleGrid does.
void StoreAreaColours(const std::vector<std::uint32_t>& colours, PictureBox& preview);

// The picture column (or row) that grid position `position` of `gridSize` samples reads from a
// picture `pictureSize` pixels across: position * pictureSize / gridSize, multiplied before it is
// divided, in double precision, with exact halves rounded to the even neighbour.
long long SamplePosition(int position, double pictureSize, int gridSize);

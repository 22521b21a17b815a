#pragma once

#include <cstdint>
#include <vector>

#include "sample/SampleGeometry.h"
#include "sample/Samples.h"

class PictureBox;

// Samples a picture held in memory onto the grid, placed as fit says (see SampleGeometry), through
// the samplers that sample a file while it decodes (SampleRows). Point sampling takes one pixel
// per grid position: a position just past the picture's edge reads as -1, and a border of a kept
// aspect is black. Area sampling takes the mean, in linear light, of the pixels each cell covers.
Samples SamplePicture(const PictureBox& picture, Fit fit, Sampling sampling);

// The kGridColumns x kGridRows grid placed on a width x height picture for fit.
SampleGeometry GridGeometry(int width, int height, Fit fit);

// Samples from colour values given row by row, kGridColumns to a row (area sampling's means).
Samples SamplesOfColours(const std::vector<std::uint32_t>& colours);

// Draws each sample's colour value, as read, into the grid's place in preview.
void DrawSamples(const Samples& samples, PictureBox& preview);

// The picture column (or row) that grid position `position` of `gridSize` samples reads from a
// picture `pictureSize` pixels across: position * pictureSize / gridSize, multiplied before it is
// divided, in double precision, with exact halves rounded to the even neighbour.
long long SamplePosition(int position, double pictureSize, int gridSize);

#pragma once

class PictureBox;

// One sampling pass: spreads the 320 x 256 grid evenly over the source picture, stores each
// sampled pixel's blue, green and red intensities in the SampleGrid and draws the raw sample into
// the preview. A position outside the picture reads as -1, which gives 255 in all three planes.
void CaptureSampleGrid(const PictureBox& source, PictureBox& preview);

// The picture column (or row) that grid position `position` of `gridSize` samples reads from a
// picture `pictureSize` pixels across: position * pictureSize / gridSize, multiplied before it is
// divided, in double precision, with exact halves rounded to the even neighbour.
long long SamplePosition(int position, double pictureSize, int gridSize);

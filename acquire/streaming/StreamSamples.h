#pragma once

#include <string>

#include "acquire/SampleGeometry.h"

class PictureBox;

// Point-samples a JPEG or BMP picture, placed on the grid by fit, onto SampleGrid and draws the
// samples into preview exactly as LoadPicture followed by CaptureSampleGrid would, while it
// decodes: only the rows that the grid
// reads are decoded, and only the sampled pixels are kept. Returns false, having changed
// nothing, for a file it leaves to those two (other formats, unusual variants, a file that
// cannot be opened or is empty). Raises FileError naming the file and the same reason that
// LoadPicture gives when the picture is too large, cut off or damaged.
bool StreamSamples(const std::string& path, Fit fit, PictureBox& preview);

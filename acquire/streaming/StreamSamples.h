#pragma once

#include <string>

#include "acquire/SampleGeometry.h"
#include "convert/ConversionSettings.h"

class PictureBox;

// Samples a JPEG or BMP picture, placed on the grid by fit, onto SampleGrid and draws the samples
// into preview exactly as LoadPicture followed by CaptureSampleGrid would, while it decodes,
// never holding the picture: point sampling decodes only the rows that the grid reads and keeps
// only the sampled pixels; area sampling adds every row into the sums of the cells it covers as
// it arrives. Returns false, having changed nothing, for a file it leaves to those two (other
// formats, unusual variants, a file that cannot be opened or is empty). Raises FileError naming
// the file and the same reason that LoadPicture gives when the picture is too large, cut off or
// damaged.
bool StreamSamples(const std::string& path, Fit fit, PictureBox& preview,
                   SamplingChoices sampling = kPointSampling);

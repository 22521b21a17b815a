#pragma once

#include <optional>
#include <string>

#include "sample/SampleGeometry.h"
#include "sample/Samples.h"

// Samples a JPEG or BMP picture, placed on the grid by fit, exactly as loading it whole and
// SamplePicture would, while it decodes, never holding the picture: point sampling decodes only
// the rows that the grid reads and keeps only the sampled pixels; area sampling adds every row
// into the sums of the cells it covers as it arrives. Returns nothing for a file it leaves to the
// whole-picture loader (other formats, unusual variants, a file that cannot be opened or is
// empty). Raises FileError naming the file and the same reason that LoadPicture gives when the
// picture is too large, cut off or damaged.
std::optional<Samples> StreamSamples(const std::string& path, Fit fit,
                                     Sampling sampling = Sampling::Point);

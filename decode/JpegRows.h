#pragma once

#include <memory>
#include <string>

#include "sample/RowFeed.h"

class ReadOnlyFile;

// A JPEG decoded row by row through libjpeg-turbo with the settings of Qt's JPEG reader (the
// accurate integer IDCT, smooth chroma upsampling); rows and columns nobody needs are skipped
// rather than converted. The EXIF orientation is read as Qt reads it. Returns nothing for colours
// other than YCbCr, RGB or grey (CMYK), which the fallback decoder reads. Raises FileError for a
// picture larger than kMaxPictureSide on a side (from the header, before anything is decoded),
// and when the header cannot be read (cut short, damaged).
std::unique_ptr<RowSource> OpenJpegRows(const std::string& path, const ReadOnlyFile& file);

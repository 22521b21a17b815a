#pragma once

#include <memory>
#include <string>

#include "sample/RowFeed.h"

class ReadOnlyFile;

// A JPEG decoded row by row through libjpeg-turbo with the settings of Qt's JPEG reader (the
// accurate integer IDCT, smooth chroma upsampling), so that every row holds what the window's
// decoder gives; rows nobody needs are skipped rather than converted. The EXIF orientation is
// read as Qt reads it. Returns nothing for a file left to the full decoder: a header libjpeg
// cannot read, or colours other than YCbCr, RGB or grey. Raises FileError for a picture larger
// than kMaxPictureSide on a side, from the header, before anything is decoded.
std::unique_ptr<RowSource> OpenJpegRows(const std::string& path, const ReadOnlyFile& file);

#pragma once

#include <memory>
#include <string>

#include "sample/RowFeed.h"

class ReadOnlyFile;

// A PNG decoded row by row through libpng, every colour type and bit depth, with the colours Qt's
// PNG reader shows (transparent pixels drawn over black, 16-bit channels premultiplied in 16 bits
// and then rounded to 8). An interlaced picture goes through libpng's own handling of the seven
// passes, which combines them into the rows the consumer needs; of those, only the even rows are
// held until the sixth pass completes them (the odd rows come whole in the seventh). A
// palette index beyond the palette (an error by the PNG standard) is refused as damaged data.
// Raises FileError for a picture larger than kMaxPictureSide on a side, from the header, before
// libpng is asked.
std::unique_ptr<RowSource> OpenPngRows(const std::string& path, const ReadOnlyFile& file);

#pragma once

#include <memory>
#include <string>

#include "sample/RowFeed.h"

class ReadOnlyFile;

// An uncompressed BMP read row by row, each needed row straight from its place in the file, with
// the colours Qt's BMP reader gives: 1, 4 and 8 bits a pixel with a 40-byte header, 24 bits with
// any Windows header, 32 bits with the 40-byte header (the fourth byte ignored), rows stored from
// the bottom or the top. Returns nothing for any other BMP (run-length encoded, bit fields, 16
// bits, the OS/2 headers), which the full decoder reads. Raises FileError for a picture larger
// than kMaxPictureSide on a side before reading any pixel.
std::unique_ptr<RowSource> OpenBmpRows(const std::string& path, const ReadOnlyFile& file);

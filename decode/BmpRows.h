#pragma once

#include <memory>
#include <string>

#include "sample/RowFeed.h"

class ReadOnlyFile;

// A BMP read row by row with the colours Qt's BMP reader gives: 1, 4, 8, 16 (5-5-5), 24 and 32
// bits a pixel with the 40-byte header (32: the fourth byte ignored), uncompressed from the
// bottom or the top, each needed row straight from its place in the file; 4 and 8 bits run-length
// encoded, decoded from the bottom row up, the pixels the runs skip black; 24 bits with any
// Windows header. Returns nothing for any other BMP (bit fields, the OS/2 headers, 32 bits with a
// newer header), which the fallback decoder reads. Raises FileError for a picture larger than
// kMaxPictureSide on a side before reading any pixel.
std::unique_ptr<RowSource> OpenBmpRows(const std::string& path, const ReadOnlyFile& file);

#pragma once

#include <memory>
#include <string>

#include "sample/RowFeed.h"

class ReadOnlyFile;

// A TGA picture, with or without the TGA 2.0 footer, read row by row: colour-mapped (8-bit
// indices into 15, 16, 24 or 32-bit colours), true-colour (15, 16, 24 or 32 bits) or grey (8
// bits), uncompressed or run-length encoded, stored from the bottom or the top, left to right or
// right to left. 5-bit levels are widened to 8 bits; an alpha channel counts where the header
// declares alpha bits, and transparent pixels are drawn over black. TGA has no signature, so a
// file without the footer is taken for one only when its header is consistent throughout.
// Returns nothing for a file that is not such a TGA. Raises FileError for a picture larger than
// kMaxPictureSide on a side, from the header.
std::unique_ptr<RowSource> OpenTgaRows(const std::string& path, const ReadOnlyFile& file);

#pragma once

#include <memory>
#include <string>

#include "sample/RowFeed.h"

class ReadOnlyFile;

// The first picture of a GIF, decoded row by row through giflib, as Qt's GIF reader shows it:
// the logical screen's size (the picture's own when the screen has none), the picture placed on
// it and cut at its edges, the rest of the screen black where the picture has a
// transparent colour and otherwise in the background colour of the global colour table;
// transparent pixels, and indices beyond the colour table, black. Interlaced rows come in the
// order the file holds them. Raises FileError for a screen larger than kMaxPictureSide on a side,
// from the header, and when the header cannot be read (cut short, damaged).
std::unique_ptr<RowSource> OpenGifRows(const std::string& path, const ReadOnlyFile& file);

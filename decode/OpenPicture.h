#pragma once

#include <memory>
#include <string>

#include "sample/RowFeed.h"

// Where a picture in a format without a row source here goes.
enum class Fallback {
    kHelper,  // Qt's image readers, in the picture helper's process (HelperRows.h)
    kNone,    // nowhere: such a file is refused as not a picture
};

// Opens a picture file for decoding row by row, whatever its format, told by its content alone
// (a picture with the wrong extension opens too): JPEG (JpegRows.h), PNG (PngRows.h), GIF
// (GifRows.h), BMP (BmpRows.h) and TGA (TgaRows.h) have row sources of their own; the other
// formats, and the rare variants those sources leave out, go to fallback. The source holds the
// file open for as long as it lives. This is the one way a picture's bytes reach the window's
// picture box and the converter's samples.
//
// Raises FileError naming the file and the reason when it cannot be opened ("file not found", "is
// a folder, not a picture file", "not a regular file", "empty file", ...), is not a picture, or
// declares a picture larger than kMaxPictureSide on a side (named with its size, before
// anything is decoded), or its header is cut off or damaged; see decode/PictureReasons.h.
std::unique_ptr<RowSource> OpenPicture(const std::string& path,
                                       Fallback fallback = Fallback::kHelper);

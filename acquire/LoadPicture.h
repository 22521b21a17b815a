#pragma once

#include <string>

#include "acquire/BoxPixels.h"
#include "acquire/PictureReasons.h"

class PictureBox;

// Decodes the picture file at path (BMP, JPEG, and whatever else the installed image plugins
// read) into box, which takes the picture's size. The EXIF orientation is applied and
// transparent pixels are flattened onto black; pixels that a run-length BMP skips are black.
// The picture is held once: it decodes into the memory that the box then keeps, and allocate
// gives that memory (tests give one that runs out).
// On failure it raises FileError (see platform/files/FileError.h) naming the file and the reason
// (among them "truncated picture...", "damaged picture data", "picture too large (W x H)" and
// "not enough memory to load a W x H picture"), and leaves box as it was.
void LoadPicture(const std::string& path, PictureBox& box,
                 const PixelAllocator& allocate = NewPixelBuffer);

#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "decode/OpenPicture.h"
#include "platform/picture/PixelMemory.h"

class PictureBox;

// Gives a buffer of count pixels or throws std::bad_alloc.
using PixelAllocator = std::function<PixelBuffer(std::size_t count)>;

// Decodes the picture file at path into box, which takes the picture's size, through the same
// row sources that the converter samples (OpenPicture): upright (the EXIF orientation applied),
// transparent pixels flattened onto black, pixels that a run-length BMP skips black. The picture
// is held once, in the memory that the box then keeps, which allocate gives (tests give one that
// runs out).
// On failure it raises FileError (see platform/files/FileError.h) naming the file and the reason
// (see OpenPicture, among them "truncated picture...", "damaged picture data", "picture too large
// (W x H)" and "not enough memory to load a W x H picture"), and leaves box as it was.
void LoadPicture(const std::string& path, PictureBox& box,
                 const PixelAllocator& allocate = NewPixelBuffer,
                 Fallback fallback = Fallback::kHelper);

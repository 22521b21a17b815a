#pragma once

#include <QImageIOHandler>

#include "platform/picture/PixelMemory.h"

// Turns and mirrors a width x height picture in its own buffer, as its EXIF orientation asks
// (the same result as Qt's automatic transformation, which would take a second copy); width and
// height become the sides of the result. Throws std::bad_alloc when the bookkeeping of a
// quarter turn (one bit a pixel) does not fit.
void Orient(PixelBuffer& pixels, int& width, int& height,
            QImageIOHandler::Transformations transformation);

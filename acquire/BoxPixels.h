#pragma once

#include <QImage>
#include <cstddef>
#include <functional>

#include "platform/picture/PixelMemory.h"

// Turns what a decoder delivers into the picture box's pixels (PictureBox::Layout::Argb32: a
// colour as drawn over black, 0xAARRGGBB) without ever holding two whole copies of a picture.

// Gives a buffer of count pixels or throws std::bad_alloc.
using PixelAllocator = std::function<PixelBuffer(std::size_t count)>;

// Memory for a width x height picture that a decoder can first fill in its own pixel layout,
// copies times over (each copy bytesPerLine * height bytes), at the end of the box's buffer.
class DecodeSpace {
public:
    DecodeSpace(const PixelAllocator& allocate, int width, int height, QImage::Format format,
                int copies = 1);

    // The n-th copy (0 = the last in memory) as an image with no memory of its own, to hand to a
    // decoder, which then decodes in place.
    QImage Copy(int n = 0);
    // Converts copy 0, which the decoder filled, into the box's layout in place and hands the
    // pixels over; any other copy is overwritten on the way.
    PixelBuffer Finish(const QImage& decoded);

private:
    std::size_t BytesPerLine() const;

    int width_;
    int height_;
    QImage::Format format_;
    PixelBuffer pixels_;
};

// Takes over the memory of an image a decoder made itself, when it holds 32-bit pixels with no
// padding (the image must be its only user); otherwise converts it into a new buffer.
PixelBuffer TakeImage(QImage image, const PixelAllocator& allocate);

#pragma once

#include <QIODevice>
#include <optional>

#include "acquire/BoxPixels.h"
#include "acquire/DecoderWarnings.h"

// Decodes a PNG of 16 bits a channel with colour or transparency, row by row, straight into the
// box's pixels, as Qt would show it (each pixel premultiplied in 16 bits, then rounded to 8), and
// a colour-keyed RGB one as stored, which Qt 6.4 misreads. Qt would first hold the whole picture
// at 8 bytes a pixel, twice the box's buffer. Handles colour,
// grey with alpha and colour-keyed grey, interlaced or not; for any other PNG (8 bits or less, or
// plain grey, which Qt holds at 2 bytes a pixel) it returns nothing and reads nothing. What it met
// goes into loss (kRanOutOfData, kCorruptData), with an empty buffer.
std::optional<PixelBuffer> DecodeDeepPng(QIODevice& file, const PixelAllocator& allocate,
                                         DecoderWarnings::Loss& loss);

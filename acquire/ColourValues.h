#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

// The picture box's colour value of a pixel in QImage::Format_RGB32 or
// Format_ARGB32_Premultiplied (0xAARRGGBB): red in bits 0..7, green 8..15, blue 16..23, top
// byte 0. A premultiplied colour is already the pixel composited onto black.
inline std::uint32_t ColourValueOf(std::uint32_t argb) {
    // 0xAARRGGBB byte-swapped is 0xBBGGRRAA; the shift drops the alpha.
    return __builtin_bswap32(argb) >> 8;
}

// Turns Format_RGB32 pixels into colour values where they lie.
void ToColourValuesInPlace(std::uint32_t* pixels, std::size_t count);

// Writes the colour values of a picture of any format to out, width * height of them row by row
// from the top; transparent pixels are flattened onto black.
void ColourValuesInto(const QImage& image, std::uint32_t* out);

// The same into a new buffer.
std::vector<std::uint32_t> ColourValuesOf(const QImage& image);

#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

// The picture box's colour value of a pixel in QImage::Format_RGB32 or
// Format_ARGB32_Premultiplied (0xAARRGGBB): red in bits 0..7, green 8..15, blue 16..23, top
// byte 0. A premultiplied colour is already the pixel composited onto black.
inline std::uint32_t ColourValueOf(std::uint32_t argb) {
    return ((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16);
}

// Turns Format_RGB32 pixels into colour values where they lie.
void ToColourValuesInPlace(std::uint32_t* pixels, std::size_t count);

// The colour values of a picture of any format, row by row from the top; transparent pixels
// are flattened onto black.
std::vector<std::uint32_t> ColourValuesOf(const QImage& image);

#pragma once

#include <cstdint>

// sRGB and CIELAB as the quality scorer needs them. The BBC's colours and the source pictures are
// taken to be sRGB; CIELAB is relative to the D65 white of sRGB.

// An 8-bit sRGB-encoded value as linear light, 0..1.
double SrgbToLinear(std::uint8_t encoded);

struct Lab {
    double l, a, b;
};

// The CIELAB colour of a linear-light sRGB colour (each channel 0..1).
Lab LabFromLinear(double red, double green, double blue);

// CIEDE2000 colour difference (kL = kC = kH = 1), as Sharma, Wu and Dalal (2005) give it.
double Ciede2000(const Lab& first, const Lab& second);

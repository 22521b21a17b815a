#pragma once

#include <vector>

// One channel of a picture as floats, row by row.
struct Plane {
    int width = 0;
    int height = 0;
    std::vector<float> values;

    Plane() = default;
    Plane(int w, int h) : width(w), height(h), values(static_cast<std::size_t>(w) * h, 0.0f) {}
    float& At(int x, int y) { return values[static_cast<std::size_t>(y) * width + x]; }
    float At(int x, int y) const { return values[static_cast<std::size_t>(y) * width + x]; }
};

// A picture in linear light: each channel 0 (none) to 1 (full).
struct LinearPicture {
    Plane red, green, blue;

    LinearPicture(int w, int h) : red(w, h), green(w, h), blue(w, h) {}
};

// A half-open rectangle of grid pixels: the part of the grid the picture covers.
struct GridRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

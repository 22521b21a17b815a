#pragma once

#include <cstddef>
#include <vector>

// A picture in linear light: red, green and blue intensities 0..1 of each pixel, row by row
// from the top.
struct LinearPicture {
    int width = 0;
    int height = 0;
    std::vector<float> rgb;  // 3 * width * height

    LinearPicture() = default;
    LinearPicture(int w, int h) : width(w), height(h), rgb(3 * static_cast<std::size_t>(w) * h) {}

    float* Pixel(int x, int y) {
        return rgb.data() + 3 * (static_cast<std::size_t>(y) * width + x);
    }
    const float* Pixel(int x, int y) const {
        return rgb.data() + 3 * (static_cast<std::size_t>(y) * width + x);
    }
};

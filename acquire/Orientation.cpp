#include "acquire/Orientation.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

std::uint32_t* RowOf(std::uint32_t* pixels, int width, int y) {
    return pixels + static_cast<std::size_t>(y) * width;
}

void Mirror(std::uint32_t* pixels, int width, int height) {
    for (int y = 0; y < height; ++y)
        std::reverse(RowOf(pixels, width, y), RowOf(pixels, width, y + 1));
}

void Flip(std::uint32_t* pixels, int width, int height) {
    for (int y = 0; y < height / 2; ++y) {
        std::swap_ranges(RowOf(pixels, width, y), RowOf(pixels, width, y + 1),
                         RowOf(pixels, width, height - 1 - y));
    }
}

// Rows become columns: the pixel at (x, y) moves to (y, x) of a height x width picture. Each
// pixel moves once, along the cycles of the permutation, so no second buffer is needed.
void Transpose(std::uint32_t* pixels, int width, int height) {
    const std::uint64_t count = static_cast<std::uint64_t>(width) * height;
    if (count < 3) return;
    const std::uint64_t last = count - 1;  // the first and last pixels stay
    std::vector<bool> moved(count);
    for (std::uint64_t start = 1; start < last; ++start) {
        if (moved[start]) continue;
        // The pixel that belongs at place i comes from place i * width mod (count - 1).
        const std::uint32_t first = pixels[start];
        std::uint64_t place = start;
        for (;;) {
            moved[place] = true;
            const std::uint64_t from = place * static_cast<std::uint64_t>(width) % last;
            if (from == start) {
                pixels[place] = first;
                break;
            }
            pixels[place] = pixels[from];
            place = from;
        }
    }
}

}  // namespace

void Orient(PixelBuffer& pixels, int& width, int& height,
            QImageIOHandler::Transformations transformation) {
    using T = QImageIOHandler;
    std::uint32_t* data = pixels.get();
    // The order Qt's own transformation takes: a three-quarter turn whole, otherwise mirror and
    // flip first and then a quarter turn clockwise.
    if (transformation == T::TransformationRotate270) {
        Transpose(data, width, height);
        std::swap(width, height);
        Flip(data, width, height);
        return;
    }
    if (transformation & T::TransformationMirror) Mirror(data, width, height);
    if (transformation & T::TransformationFlip) Flip(data, width, height);
    if (transformation & T::TransformationRotate90) {
        Transpose(data, width, height);
        std::swap(width, height);
        Mirror(data, width, height);
    }
}

#include "convert/ModePicture.h"

#include <algorithm>

#include "colour/LinearLight.h"
#include "screen/ScreenGeometry.h"

namespace {

// The grid row in linear light, planes in blue, green, red order turned to red, green, blue.
void LinearRow(const SamplePlanes& grid, int y, float* rgb) {
    for (int x = 0; x < kGridColumns; ++x) {
        rgb[3 * x + 0] = LinearOf(grid.RedPlane(x, y));
        rgb[3 * x + 1] = LinearOf(grid.GreenPlane(x, y));
        rgb[3 * x + 2] = LinearOf(grid.BluePlane(x, y));
    }
}

}  // namespace

LinearPicture ModePicture(const SamplePlanes& samples, ScreenMode screenMode) {
    const int width = GeometryOf(screenMode).pixelsPerLine;
    LinearPicture picture(width, kScanLines);
    float row[3 * kGridColumns];
    for (int y = 0; y < kScanLines; ++y) {
        LinearRow(samples, y, row);
        for (int x = 0; x < width; ++x) {
            float* out = picture.Pixel(x, y);
            for (int c = 0; c < 3; ++c) {
                if (width == 2 * kGridColumns) {
                    const int k = x / 2;
                    const int neighbour =
                        std::clamp(x % 2 == 0 ? k - 1 : k + 1, 0, kGridColumns - 1);
                    out[c] = 0.75f * row[3 * k + c] + 0.25f * row[3 * neighbour + c];
                } else if (2 * width == kGridColumns) {
                    out[c] = 0.5f * (row[3 * (2 * x) + c] + row[3 * (2 * x + 1) + c]);
                } else {
                    out[c] = row[3 * x + c];
                }
            }
        }
    }
    return picture;
}

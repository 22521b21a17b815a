#include "acquire/streaming/SampleMapping.h"

#include "acquire/SampleCapture.h"

namespace {

// The sample grid, as CaptureSampleGrid spreads it.
constexpr int kGridColumns = 320;
constexpr int kGridRows = 256;

std::vector<int> Positions(int gridSize, int pictureSize) {
    std::vector<int> positions(static_cast<std::size_t>(gridSize));
    for (int i = 0; i < gridSize; ++i) {
        const long long position = SamplePosition(i, pictureSize, gridSize);
        positions[static_cast<std::size_t>(i)] =
            position < pictureSize ? static_cast<int>(position) : -1;
    }
    return positions;
}

}  // namespace

SampleMapping StretchMapping(int width, int height) {
    return {Positions(kGridColumns, width), Positions(kGridRows, height)};
}

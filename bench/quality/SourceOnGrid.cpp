#include "bench/quality/SourceOnGrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "bench/quality/ColourScience.h"
#include "screen/ScreenGeometry.h"

namespace {

// A 4:3 monitor shows the 320 x 256 grid, so a grid pixel is 16/15 as wide as it is high.
constexpr double kGridPixelAspect = (4.0 / kPreviewWidth) / (3.0 / kPreviewHeight);

struct Share {
    int source;
    double weight;  // the part of the grid pixel this source pixel covers
};

// For each of `gridSize` grid pixels along one axis, the source pixels over it and how much of it
// each covers, when `sourceSize` source pixels span `span` grid pixels from `start`.
std::vector<std::vector<Share>> Shares(int gridSize, int sourceSize, double start, double span) {
    std::vector<std::vector<Share>> shares(gridSize);
    const double step = span / sourceSize;
    for (int g = 0; g < gridSize; ++g) {
        const int first = std::max(0, static_cast<int>(std::floor((g - start) / step)));
        for (int s = first; s < sourceSize; ++s) {
            const double from = std::max<double>(g, start + s * step);
            const double to = std::min<double>(g + 1, start + (s + 1) * step);
            if (from >= g + 1) break;
            if (to > from) shares[g].push_back({s, to - from});
        }
    }
    return shares;
}

std::array<float, 256> LinearTable() {
    std::array<float, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[v] = static_cast<float>(SrgbToLinear(static_cast<std::uint8_t>(v)));
    return table;
}

}  // namespace

Placement PlacementOf(int pictureWidth, int pictureHeight, GridFit fit) {
    if (fit == GridFit::Stretch) return {0, 0, kPreviewWidth, kPreviewHeight};
    // Grid pixels across for each grid pixel down that keep the picture's shape.
    const double across = static_cast<double>(pictureWidth) / pictureHeight / kGridPixelAspect;
    const bool wide = across > static_cast<double>(kPreviewWidth) / kPreviewHeight;
    // Keep fits the long side to the grid; Fill fits the short side and crops the long one.
    const bool fitWidth = (fit == GridFit::Keep) == wide;
    const double width = fitWidth ? kPreviewWidth : kPreviewHeight * across;
    const double height = fitWidth ? kPreviewWidth / across : kPreviewHeight;
    return {(kPreviewWidth - width) / 2, (kPreviewHeight - height) / 2, width, height};
}

GridRect CoveredRect(const Placement& placement) {
    const auto clip = [](double v, int size) {
        return std::clamp(static_cast<int>(std::lround(v)), 0, size);
    };
    return {clip(placement.left, kPreviewWidth), clip(placement.top, kPreviewHeight),
            clip(placement.left + placement.width, kPreviewWidth),
            clip(placement.top + placement.height, kPreviewHeight)};
}

LinearPicture SourceOnGrid(const RowSource& rows, int width, int height,
                           const Placement& placement) {
    static const std::array<float, 256> linear = LinearTable();
    const auto columns = Shares(kPreviewWidth, width, placement.left, placement.width);
    const auto lines = Shares(kPreviewHeight, height, placement.top, placement.height);

    // Source row y averaged across each grid column, then summed into the grid rows it covers.
    std::vector<std::vector<Share>> linesOfRow(height);
    for (int g = 0; g < kPreviewHeight; ++g) {
        for (const Share& share : lines[g]) linesOfRow[share.source].push_back({g, share.weight});
    }
    LinearPicture grid(kPreviewWidth, kPreviewHeight);
    std::vector<float> across(3 * kPreviewWidth);
    for (int y = 0; y < height; ++y) {
        if (linesOfRow[y].empty()) continue;
        const std::uint8_t* row = rows(y);
        for (int g = 0; g < kPreviewWidth; ++g) {
            double r = 0, gr = 0, b = 0;
            for (const Share& share : columns[g]) {
                const std::uint8_t* p = row + 3 * share.source;
                r += share.weight * linear[p[0]];
                gr += share.weight * linear[p[1]];
                b += share.weight * linear[p[2]];
            }
            across[3 * g] = static_cast<float>(r);
            across[3 * g + 1] = static_cast<float>(gr);
            across[3 * g + 2] = static_cast<float>(b);
        }
        for (const Share& line : linesOfRow[y]) {
            const auto w = static_cast<float>(line.weight);
            for (int g = 0; g < kPreviewWidth; ++g) {
                grid.red.At(g, line.source) += w * across[3 * g];
                grid.green.At(g, line.source) += w * across[3 * g + 1];
                grid.blue.At(g, line.source) += w * across[3 * g + 2];
            }
        }
    }
    return grid;
}

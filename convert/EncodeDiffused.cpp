#include "convert/EncodeDiffused.h"

#include <array>
#include <vector>

#include "colour/LinearLight.h"
#include "convert/SearchedDither.h"
#include "platform/picture/PictureBox.h"
#include "sample/Samples.h"
#include "screen/PackLine.h"
#include "screen/ScreenGeometry.h"

namespace {

// The mix of two display colours as the eye sees it: their mean in linear light.
std::uint32_t Mix(std::uint32_t left, std::uint32_t right) {
    std::uint32_t mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const float mean =
            0.5f * (LinearOf((left >> shift) & 0xFF) + LinearOf((right >> shift) & 0xFF));
        mixed |= static_cast<std::uint32_t>(LevelOfLinear(mean)) << shift;
    }
    return mixed;
}

// The preview colour of every pair of logical colours sharing a MODE 0 preview column.
using PairColours = std::array<std::array<std::uint32_t, 2>, 2>;

PairColours PairsOf(const ColourLookup& lookup) {
    PairColours pairs{};
    for (int left = 0; left < 2; ++left) {
        for (int right = 0; right < 2; ++right) {
            pairs[left][right] = Mix(lookup.colour[left], lookup.colour[right]);
        }
    }
    return pairs;
}

void PlotLine(const std::uint8_t* logical, int width, const ColourLookup& lookup,
              const PairColours& pairs, std::uint32_t* previewRow) {
    if (width == 2 * kPreviewWidth) {
        for (int k = 0; k < kPreviewWidth; ++k) {
            previewRow[k] = pairs[logical[2 * k] & 1][logical[2 * k + 1] & 1];
        }
    } else if (2 * width == kPreviewWidth) {
        for (int x = 0; x < width; ++x)
            previewRow[2 * x] = previewRow[2 * x + 1] = lookup.colour[logical[x]];
    } else {
        for (int x = 0; x < width; ++x) previewRow[x] = lookup.colour[logical[x]];
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeDiffused(ScreenMode screenMode, const LinearPicture& picture,
                                         const Palette& palette, Diffusion kernel,
                                         PictureBox& preview) {
    const ScreenGeometry& geometry = GeometryOf(screenMode);
    const int width = picture.width;
    const std::vector<std::uint8_t> logical =
        kernel == Diffusion::Search
            ? SearchOntoPalette(picture, palette, width / static_cast<double>(kGridColumns))
            : DiffuseOntoPalette(picture, palette, kernel);
    const ColourLookup lookup = LogicalColourLookup(palette);
    const PairColours pairs = PairsOf(lookup);
    const int cells = geometry.bytesPerCharacterRow / kLinesPerCharacter;

    std::vector<std::uint8_t> screen(static_cast<std::size_t>(geometry.screenBytes));
    for (int row = 0; row < kCharacterRows; ++row) {
        std::uint8_t* characterRow = screen.data() + row * geometry.bytesPerCharacterRow;
        for (int line = 0; line < kLinesPerCharacter; ++line) {
            const int y = row * kLinesPerCharacter + line;
            const std::uint8_t* codes = logical.data() + static_cast<std::size_t>(y) * width;
            PlotLine(codes, width, lookup, pairs, preview.Row(y));
            PackLine(geometry.pixelsPerByte, cells, codes, lookup, characterRow + line);
        }
    }
    preview.Touch();
    return screen;
}

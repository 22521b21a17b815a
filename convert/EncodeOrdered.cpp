#include "convert/EncodeOrdered.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "platform/picture/PictureBox.h"

namespace {

constexpr int kGridStride = kGridColumns + 1;  // elements per row of a sample plane
constexpr int kMaxModePixels = 640;

// How mode columns land on the 320-column sample grid.
enum class ColumnMap {
    Halved,   // MODE 0: columns 2k and 2k + 1 share grid column k
    Same,     // MODEs 1 and 4, and any mode when ScaleToGrid is off
    Doubled,  // MODEs 2 and 5: a wide pixel covers grid columns 2x and 2x + 1, averaged
};

template <ColumnMap map>
constexpr int GridColumn(int x) {
    if constexpr (map == ColumnMap::Halved) return x / 2;
    if constexpr (map == ColumnMap::Doubled) return 2 * x;
    return x;
}

// How many mode columns, from the left, fall inside a grid gridWidth columns wide.
template <ColumnMap map>
int ColumnsInside(int gridWidth) {
    if (gridWidth <= 0) return 0;
    if constexpr (map == ColumnMap::Halved) return 2 * gridWidth;
    if constexpr (map == ColumnMap::Doubled) return (gridWidth + 1) / 2;
    return gridWidth;
}

// A channel is on when sample + offset, clamped to 0..255, is 128 or more. Clamping never moves a
// value across 128, so that is sample >= 128 - offset: one comparison per channel. The 16
// thresholds of a scan line repeat across it; they are laid out over the whole line so that the
// comparisons run as plain array loops, which the compiler vectorises.
struct LineThresholds {
    alignas(32) std::array<std::int16_t, kMaxModePixels> blue, green, red;
};

void FillThresholds(const ThresholdOffsets& offsets, int y, bool stagger, int pixels,
                    LineThresholds& t) {
    const auto at = [&offsets](int x, int line) {
        return static_cast<std::int16_t>(128 - offsets(x % 16, line % 16));
    };
    for (int column = 0; column < 16; ++column) {
        t.blue[column] = at(column, y);
        // Stagger shifts the green and red screens against the blue one.
        t.green[column] = stagger ? at(column + 1, y + 2) : t.blue[column];
        t.red[column] = stagger ? at(column + 2, y + 1) : t.blue[column];
    }
    for (int x = 16; x < pixels; x += 16) {
        std::copy_n(t.blue.data(), 16, t.blue.data() + x);
        std::copy_n(t.green.data(), 16, t.green.data() + x);
        std::copy_n(t.red.data(), 16, t.red.data() + x);
    }
}

// The channel value that each of the first `pixels` mode columns sees: its grid sample, or in
// MODEs 2 and 5 the mean of the two samples the wide pixel covers, rounded down.
template <ColumnMap map>
void GatherChannel(const std::int16_t* __restrict plane, std::int16_t* __restrict out, int pixels) {
    if constexpr (map == ColumnMap::Halved) {
        for (int k = 0; k < pixels / 2; ++k) out[2 * k] = out[2 * k + 1] = plane[k];
    } else if constexpr (map == ColumnMap::Doubled) {
        for (int x = 0; x < pixels; ++x) {
            out[x] = static_cast<std::int16_t>((plane[2 * x] + plane[2 * x + 1]) / 2);
        }
    } else {
        std::copy_n(plane, pixels, out);
    }
}

struct LineWork {
    alignas(32) std::array<std::int16_t, kMaxModePixels> blue, green, red;
    alignas(32) std::array<std::uint8_t, kMaxModePixels> code;
};

// Works out the code of every mode column of scan line y and plots the preview row.
template <ColumnMap map>
void ConvertLine(const SamplePlanes& samples, int y, int modePixels, int gridWidth,
                 const LineThresholds& t, const ColourLookup& lookup, LineWork& work,
                 PictureBox& preview) {
    const int inside = std::clamp(ColumnsInside<map>(gridWidth), 0, modePixels);
    // The grid columns read, and plotted, are 0..lastColumn without a gap.
    const int lastColumn =
        inside > 0 ? GridColumn<map>(inside - 1) + (map == ColumnMap::Doubled ? 1 : 0) : -1;
    // Beyond the planes' bounds the checked accessor raises the out-of-range error.
    if (lastColumn > samples.BluePlane.kUpperBounds[0]) (void)samples.BluePlane(lastColumn, y);

    GatherChannel<map>(samples.BluePlane.Data() + y * kGridStride, work.blue.data(), inside);
    GatherChannel<map>(samples.GreenPlane.Data() + y * kGridStride, work.green.data(), inside);
    GatherChannel<map>(samples.RedPlane.Data() + y * kGridStride, work.red.data(), inside);
    for (int x = 0; x < inside; ++x) {
        work.code[x] = static_cast<std::uint8_t>((work.blue[x] >= t.blue[x]) << 2 |
                                                 (work.green[x] >= t.green[x]) << 1 |
                                                 (work.red[x] >= t.red[x]));
    }
    std::fill(work.code.data() + inside, work.code.data() + modePixels, kOutsideGrid);

    // Only a grid wider than the preview (ScaleToGrid off) plots beyond its edge; such points are
    // clipped, as the picture box does.
    std::array<std::uint32_t, kGridStride + 1> clipped;
    const bool fits = lastColumn < preview.Width();
    std::uint32_t* previewRow = fits ? preview.Row(y) : clipped.data();
    if constexpr (map == ColumnMap::Halved) {
        // Two mode columns share each grid column; the odd one is drawn second and stays visible.
        for (int k = 0; k < inside / 2; ++k) previewRow[k] = lookup.colour[work.code[2 * k + 1]];
    } else if constexpr (map == ColumnMap::Doubled) {
        for (int x = 0; x < inside; ++x) {
            previewRow[2 * x] = previewRow[2 * x + 1] = lookup.colour[work.code[x]];
        }
    } else {
        for (int x = 0; x < inside; ++x) previewRow[x] = lookup.colour[work.code[x]];
    }
    if (!fits) std::copy_n(clipped.data(), preview.Width(), preview.Row(y));
}

ColumnMap MapFor(ScreenMode screenMode, const GridReach& reach) {
    if (!reach.scaleToGrid) return ColumnMap::Same;
    switch (screenMode) {
        case ScreenMode::Mode0:
            return ColumnMap::Halved;
        case ScreenMode::Mode2:
        case ScreenMode::Mode5:
            return ColumnMap::Doubled;
        default:
            return ColumnMap::Same;
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeOrdered(const SamplePlanes& samples, ScreenMode screenMode,
                                        const OrderedTones& tones, PictureBox& preview) {
    const ScreenGeometry& geometry = GeometryOf(screenMode);
    if (preview.Width() < kPreviewWidth || preview.Height() < kPreviewHeight) {
        throw std::invalid_argument("the preview must be at least 320 x 256 pixels");
    }
    const ColumnMap map = MapFor(screenMode, tones.reach);
    const int cells = geometry.bytesPerCharacterRow / kLinesPerCharacter;

    std::vector<std::uint8_t> screen(static_cast<std::size_t>(geometry.screenBytes));
    LineThresholds thresholds;
    LineWork work;
    for (int row = 0; row < kCharacterRows; ++row) {
        std::uint8_t* characterRow = screen.data() + row * geometry.bytesPerCharacterRow;
        for (int line = 0; line < kLinesPerCharacter; ++line) {
            const int y = row * kLinesPerCharacter + line;
            if (y >= tones.reach.height) continue;  // below the grid: zero bytes, nothing plotted
            FillThresholds(tones.offsets, y, tones.stagger, geometry.pixelsPerLine, thresholds);
            const int width = tones.reach.width;
            switch (map) {
                case ColumnMap::Halved:
                    ConvertLine<ColumnMap::Halved>(samples, y, geometry.pixelsPerLine, width,
                                                   thresholds, tones.colours, work, preview);
                    break;
                case ColumnMap::Same:
                    ConvertLine<ColumnMap::Same>(samples, y, geometry.pixelsPerLine, width,
                                                 thresholds, tones.colours, work, preview);
                    break;
                case ColumnMap::Doubled:
                    ConvertLine<ColumnMap::Doubled>(samples, y, geometry.pixelsPerLine, width,
                                                    thresholds, tones.colours, work, preview);
                    break;
            }
            PackLine(geometry.pixelsPerByte, cells, work.code.data(), tones.colours,
                     characterRow + line);
        }
    }
    preview.Touch();
    return screen;
}

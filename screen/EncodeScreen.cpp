#include "screen/EncodeScreen.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

#include "convert/ConversionSettings.h"
#include "convert/Module1.h"
#include "platform/picture/PictureBox.h"
#include "screen/ChoosePalette.h"
#include "screen/EncodeDiffused.h"
#include "screen/ModePicture.h"
#include "screen/PackLine.h"
#include "screen/ScreenGeometry.h"

namespace {

using Module1::SampleGrid;

constexpr int kGridStride = 321;  // elements per row of a sample plane (columns 0..320)
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

// NearestColour depends on nothing but the on/off bit of each channel, so one call for each of
// the eight bit patterns answers for every pixel of a conversion. Code kOutsideGrid stands for a
// pixel outside the grid, whose index is 0.
ColourLookup BuildLookup(int colourCount) {
    ColourLookup lookup;
    for (int code = 0; code < 8; ++code) {
        std::int32_t previewColour = 0;
        const std::int16_t index =
            Module1::NearestColour((code & 4) ? 255 : 0, (code & 2) ? 255 : 0, (code & 1) ? 255 : 0,
                                   static_cast<std::int16_t>(colourCount), previewColour);
        lookup.index[code] = static_cast<std::uint8_t>(index);
        lookup.colour[code] = static_cast<std::uint32_t>(previewColour);
    }
    return lookup;
}

// A channel is on when sample + offset, clamped to 0..255, is 128 or more. Clamping never moves a
// value across 128, so that is sample >= 128 - offset: one comparison per channel. The 16
// thresholds of a scan line repeat across it; they are laid out over the whole line so that the
// comparisons run as plain array loops, which the compiler vectorises.
struct LineThresholds {
    alignas(32) std::array<std::int16_t, kMaxModePixels> blue, green, red;
};

void FillThresholds(int y, bool stagger, int pixels, LineThresholds& t) {
    const auto at = [](int x, int line) {
        return static_cast<std::int16_t>(128 - Module1::ThresholdTable(x % 16, line % 16));
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
void ConvertLine(int y, int modePixels, int gridWidth, const LineThresholds& t,
                 const ColourLookup& lookup, LineWork& work, PictureBox& preview) {
    const int inside = std::clamp(ColumnsInside<map>(gridWidth), 0, modePixels);
    // The grid columns read, and plotted, are 0..lastColumn without a gap.
    const int lastColumn =
        inside > 0 ? GridColumn<map>(inside - 1) + (map == ColumnMap::Doubled ? 1 : 0) : -1;
    // Beyond the planes' bounds the checked accessor raises the out-of-range error.
    if (lastColumn > SampleGrid.BluePlane.kUpperBounds[0])
        (void)SampleGrid.BluePlane(lastColumn, y);

    GatherChannel<map>(SampleGrid.BluePlane.Data() + y * kGridStride, work.blue.data(), inside);
    GatherChannel<map>(SampleGrid.GreenPlane.Data() + y * kGridStride, work.green.data(), inside);
    GatherChannel<map>(SampleGrid.RedPlane.Data() + y * kGridStride, work.red.data(), inside);
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

ColumnMap MapFor(const ConversionSettingsFields& settings) {
    if (settings.ScaleToGrid == 0) return ColumnMap::Same;
    switch (settings.ScreenMode) {
        case 0:
            return ColumnMap::Halved;
        case 2:
        case 5:
            return ColumnMap::Doubled;
        default:
            return ColumnMap::Same;
    }
}

// The halftone conversion: each channel thresholded against the ordered offsets, the on/off
// colour matched through the lookup.
void EncodeOrdered(const ConversionSettingsFields& settings, const ColourLookup& lookup,
                   ScreenSink& sink, PictureBox& preview) {
    const ScreenGeometry& geometry = GeometryOf(settings.ScreenMode);
    const ColumnMap map = MapFor(settings);
    const int cells = geometry.bytesPerCharacterRow / kLinesPerCharacter;

    std::vector<std::uint8_t> characterRow(geometry.bytesPerCharacterRow);
    LineThresholds thresholds;
    LineWork work;
    for (int row = 0; row < kCharacterRows; ++row) {
        for (int line = 0; line < kLinesPerCharacter; ++line) {
            const int y = row * kLinesPerCharacter + line;
            if (y >= settings.GridHeight) {
                // Below the grid: zero bytes, nothing plotted.
                for (int cell = 0; cell < cells; ++cell) {
                    characterRow[cell * kLinesPerCharacter + line] = 0;
                }
                continue;
            }
            FillThresholds(y, settings.StaggerOn != 0, geometry.pixelsPerLine, thresholds);
            switch (map) {
                case ColumnMap::Halved:
                    ConvertLine<ColumnMap::Halved>(y, geometry.pixelsPerLine, settings.GridWidth,
                                                   thresholds, lookup, work, preview);
                    break;
                case ColumnMap::Same:
                    ConvertLine<ColumnMap::Same>(y, geometry.pixelsPerLine, settings.GridWidth,
                                                 thresholds, lookup, work, preview);
                    break;
                case ColumnMap::Doubled:
                    ConvertLine<ColumnMap::Doubled>(y, geometry.pixelsPerLine, settings.GridWidth,
                                                    thresholds, lookup, work, preview);
                    break;
            }
            PackLine(geometry.pixelsPerByte, cells, work.code.data(), lookup,
                     characterRow.data() + line);
        }
        sink.Put(characterRow.data(), characterRow.size());
    }
    preview.Touch();
}

}  // namespace

Palette EncodeScreen(ScreenSink& sink, PictureBox& preview) {
    const ConversionSettingsFields settings = ConversionSettings;
    const ScreenGeometry& geometry = GeometryOf(settings.ScreenMode);
    if (preview.Width() < kPreviewWidth || preview.Height() < kPreviewHeight) {
        throw std::invalid_argument("the preview must be at least 320 x 256 pixels");
    }
    if (settings.Diffusion == 0 && settings.PaletteChoice == kStandardPalette) {
        EncodeOrdered(settings, BuildLookup(geometry.colourCount), sink, preview);
        return DefaultPalette(settings.ScreenMode);
    }
    const LinearPicture picture = ModePicture(settings.ScreenMode);
    const Palette palette = ChoosePalette(settings, picture);
    if (settings.Diffusion == 0) {
        EncodeOrdered(settings, NearestPaletteLookup(palette), sink, preview);
    } else {
        EncodeDiffused(settings.ScreenMode, picture, palette,
                       static_cast<Diffusion>(settings.Diffusion), sink, preview);
    }
    return palette;
}

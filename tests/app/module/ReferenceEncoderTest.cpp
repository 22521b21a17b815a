// The encoder works out a scan line at a time with a colour lookup per conversion. This test
// holds it against a plain byte-by-byte rendering of the screen layout that asks NearestColour
// for every pixel, over random grids, in every mode, style and Stagger setting.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/app/module/ScreenTestSupport.h"

namespace {

using Module1::SampleGrid;
using Module1::ThresholdTable;

std::vector<std::uint8_t> ReferenceEncode(PictureBox& preview) {
    const ConversionSettingsFields& s = ConversionSettings;
    const int mode = s.ScreenMode;
    const int rowBytes = (mode == 4 || mode == 5) ? 320 : 640;
    const int perByte = (mode == 0 || mode == 4) ? 8 : (mode == 2) ? 2 : 4;
    const int colourCount = (mode == 2) ? 8 : (mode == 1 || mode == 5) ? 4 : 2;
    std::vector<std::uint8_t> out;
    std::uint8_t slots[9] = {};
    for (int r = 0; r < 32; ++r) {
        for (int i = 0; i < rowBytes; ++i) {
            const int y = 8 * r + i % 8;
            const int xb = (i / 8) * perByte;
            if (y >= s.GridHeight) {
                out.push_back(0);
                continue;
            }
            for (int p = 0; p < perByte; ++p) {
                const int x = xb + p;
                int gx = x;
                if (s.ScaleToGrid != 0)
                    gx = mode == 0 ? x / 2 : (mode == 2 || mode == 5) ? 2 * x : x;
                if (gx >= s.GridWidth) {
                    slots[p] = 0;
                    continue;
                }
                int blue = SampleGrid.BluePlane(gx, y);
                int green = SampleGrid.GreenPlane(gx, y);
                int red = SampleGrid.RedPlane(gx, y);
                const bool wide = s.ScaleToGrid != 0 && (mode == 2 || mode == 5);
                if (wide) {
                    blue = (blue + SampleGrid.BluePlane(gx + 1, y)) / 2;
                    green = (green + SampleGrid.GreenPlane(gx + 1, y)) / 2;
                    red = (red + SampleGrid.RedPlane(gx + 1, y)) / 2;
                }
                if (s.StaggerOn == 0) {
                    blue += ThresholdTable(x % 16, y % 16);
                    green += ThresholdTable(x % 16, y % 16);
                    red += ThresholdTable(x % 16, y % 16);
                } else {
                    blue += ThresholdTable(x % 16, y % 16);
                    green += ThresholdTable((x + 1) % 16, (y + 2) % 16);
                    red += ThresholdTable((x + 2) % 16, (y + 1) % 16);
                }
                blue = std::clamp(blue, 0, 255);
                green = std::clamp(green, 0, 255);
                red = std::clamp(red, 0, 255);
                std::int32_t colour = 0;
                slots[p] = static_cast<std::uint8_t>(Module1::NearestColour(
                    static_cast<std::int16_t>(blue), static_cast<std::int16_t>(green),
                    static_cast<std::int16_t>(red), static_cast<std::int16_t>(colourCount),
                    colour));
                preview.PSet(gx, y, colour);
                if (wide) preview.PSet(gx + 1, y, colour);
            }
            unsigned byte = 0;
            if (perByte == 8) {
                for (int p = 0; p < 8; ++p) byte = byte * 2 + (slots[p] != 0 ? 1 : 0);
            } else if (perByte == 4) {
                for (int p = 0; p < 4; ++p) byte = byte * 2 + ((slots[p] >> 1) & 1);
                for (int p = 0; p < 4; ++p) byte = byte * 2 + (slots[p] & 1);
            } else {
                for (int bit = 2; bit >= 0; --bit) {
                    byte = byte * 2 + ((slots[0] >> bit) & 1);
                    byte = byte * 2 + ((slots[1] >> bit) & 1);
                }
            }
            out.push_back(static_cast<std::uint8_t>(byte));
        }
    }
    return out;
}

void FillRandomGrid(std::mt19937& random) {
    // Samples cluster around the threshold so that the halftone decides many pixels.
    std::uniform_int_distribution<int> level(0, 255);
    std::normal_distribution<double> nearMiddle(128.0, 60.0);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 320; ++x) {
            const auto pick = [&] {
                return random() % 2 ? level(random)
                                    : std::clamp(static_cast<int>(nearMiddle(random)), 0, 255);
            };
            SetSample(x, y, pick(), pick(), pick());
        }
    }
}

TEST(ReferenceEncoder, EveryModeStyleAndStaggerAgrees) {
    std::mt19937 random(20261207);
    for (int mode : {0, 1, 2, 4, 5}) {
        for (int style = 0; style <= 4; ++style) {
            for (int stagger : {0, 1}) {
                ResetConversionState();
                ConversionSettings.ScreenMode = static_cast<std::int16_t>(mode);
                ConversionSettings.ToneStyle = static_cast<std::int16_t>(style);
                ConversionSettings.StaggerOn = static_cast<std::int16_t>(stagger);
                FillRandomGrid(random);
                PictureBox fastPreview(320, 256);
                const auto fast = Convert(fastPreview);
                PictureBox slowPreview(320, 256);
                const auto slow = ReferenceEncode(slowPreview);
                ASSERT_EQ(fast, slow)
                    << "mode " << mode << " style " << style << " stagger " << stagger;
                for (int y = 0; y < 256; ++y) {
                    for (int x = 0; x < 320; ++x) {
                        ASSERT_EQ(fastPreview.Point(x, y), slowPreview.Point(x, y))
                            << "preview (" << x << ", " << y << ") mode " << mode;
                    }
                }
            }
        }
    }
}

TEST(ReferenceEncoder, UnusualGridsAgree) {
    std::mt19937 random(7);
    struct Grid {
        int scaleToGrid, width, height;
    };
    for (const Grid g : {Grid{1, 100, 77}, Grid{0, 320, 256}, Grid{0, 200, 256}, Grid{1, 1, 1},
                         Grid{1, -5, 300}}) {
        for (int mode : {0, 1, 2, 4, 5}) {
            ResetConversionState();
            ConversionSettings = {static_cast<std::int16_t>(mode),
                                  3,
                                  1,
                                  static_cast<std::int16_t>(g.scaleToGrid),
                                  static_cast<std::int16_t>(g.width),
                                  static_cast<std::int16_t>(g.height)};
            FillRandomGrid(random);
            PictureBox fastPreview(320, 256);
            PictureBox slowPreview(320, 256);
            const auto fast = Convert(fastPreview);
            ASSERT_EQ(fast, ReferenceEncode(slowPreview))
                << "mode " << mode << " width " << g.width;
            for (int y = 0; y < 256; ++y) {
                for (int x = 0; x < 320; ++x)
                    ASSERT_EQ(fastPreview.Point(x, y), slowPreview.Point(x, y));
            }
        }
    }
}

}  // namespace

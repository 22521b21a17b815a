#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bench/quality/ColourScience.h"
#include "bench/quality/Filters.h"
#include "bench/quality/ShownScreen.h"
#include "bench/quality/SourceOnGrid.h"

namespace {

// Pairs from Sharma, Wu and Dalal, "The CIEDE2000 color-difference formula: implementation
// notes, supplementary test data, and mathematical observations" (2005), Table 1.
TEST(QualityMathTest, Ciede2000MatchesPublishedPairs) {
    struct Case {
        int pair;
        Lab first, second;
        double difference;
    };
    const std::vector<Case> cases{
        {1, {50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
        {7, {50, 0, 0}, {50, -1, 2}, 2.3669},
        {13, {50, 2.49, -0.001}, {50, -2.49, 0.0009}, 7.1792},
        {15, {50, 2.49, -0.001}, {50, -2.49, 0.0011}, 7.2195},
        {17, {50, 2.5, 0}, {73, 25, -18}, 27.1492},
        {19, {50, 2.5, 0}, {56, -27, -3}, 31.9030},
        {25, {60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
        {34, {2.0776, 0.0795, -1.135}, {0.9033, -0.0636, -0.5514}, 0.9082},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("pair " + std::to_string(c.pair));
        EXPECT_NEAR(Ciede2000(c.first, c.second), c.difference, 1e-4);
        EXPECT_NEAR(Ciede2000(c.second, c.first), c.difference, 1e-4);
    }
}

TEST(QualityMathTest, SsimIsOneForIdenticalPlanesAndFallsForDifferentOnes) {
    Plane plane(40, 30), other(40, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            plane.At(x, y) = static_cast<float>((x * 7 + y * 13) % 100);
            other.At(x, y) = static_cast<float>((x * 7 + y * 13 + 50) % 100);
        }
    }
    const GridRect all{0, 0, 40, 30};
    EXPECT_NEAR(MeanSsim(plane, plane, all, 100), 1.0, 1e-9);
    EXPECT_LT(MeanSsim(plane, other, all, 100), 0.5);
    EXPECT_THROW(MeanSsim(plane, plane, {0, 0, 10, 10}, 100), std::invalid_argument);
}

// Screens filled with one byte; the grid pixels that byte's first pixels cover, in linear light.
TEST(QualityMathTest, ShownScreenDecodesEachModesBytes) {
    struct Case {
        int mode;
        std::uint8_t byte;
        Palette palette;
        std::vector<std::vector<float>> gridRgb;  // grid pixels 0, 1, ...
    };
    const std::vector<Case> cases{
        // MODE 0: bit 7 is the leftmost pixel; a lit pixel beside a dark one is half light.
        {0, 0x80, {{0, 7}}, {{0.5f, 0.5f, 0.5f}, {0, 0, 0}}},
        // MODE 1: pixel 0 is bits 7 and 3 (logical 3), pixel 1 bits 6 and 2 (logical 1).
        {1, 0x8c, {{0, 4, 6, 7}}, {{1, 1, 1}, {0, 0, 1}, {0, 0, 0}}},
        // MODE 2: pixel 0 in bits 5, 3, 1 (cyan), pixel 1 in bits 4, 2, 0 (red), each doubled.
        {2, 0x29, {{0, 1, 2, 3, 4, 5, 6, 7}}, {{0, 1, 1}, {0, 1, 1}, {1, 0, 0}, {1, 0, 0}}},
        // MODE 5: pixel 0 logical 2 (yellow), pixel 1 logical 1 (red), each two grid pixels.
        {5, 0x84, {{0, 1, 3, 7}}, {{1, 1, 0}, {1, 1, 0}, {1, 0, 0}, {1, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("MODE " + std::to_string(c.mode));
        const int bytes = c.mode >= 4 ? 10240 : 20480;
        const LinearPicture shown =
            ShownScreen(std::vector<std::uint8_t>(bytes, c.byte), c.mode, c.palette);
        for (std::size_t x = 0; x < c.gridRgb.size(); ++x) {
            const int gx = static_cast<int>(x);
            EXPECT_EQ(shown.red.At(gx, 200), c.gridRgb[x][0]) << "grid pixel " << x;
            EXPECT_EQ(shown.green.At(gx, 200), c.gridRgb[x][1]) << "grid pixel " << x;
            EXPECT_EQ(shown.blue.At(gx, 200), c.gridRgb[x][2]) << "grid pixel " << x;
        }
        EXPECT_THROW(ShownScreen(std::vector<std::uint8_t>(bytes - 1), c.mode, c.palette),
                     std::invalid_argument);
    }
}

TEST(QualityMathTest, AreaAverageOfACheckerboardIsHalfLight) {
    std::vector<std::uint8_t> rows(640 * 512 * 3);
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 640; ++x) {
            const std::uint8_t v = (x + y) % 2 ? 255 : 0;
            for (int c = 0; c < 3; ++c) rows[(y * 640 + x) * 3 + c] = v;
        }
    }
    const LinearPicture grid = SourceOnGrid([&rows](int y) { return rows.data() + y * 640 * 3; },
                                            640, 512, PlacementOf(640, 512, GridFit::Stretch));
    for (const auto& [x, y] : {std::pair{0, 0}, {160, 100}, {319, 255}}) {
        EXPECT_NEAR(grid.green.At(x, y), 0.5, 1e-6) << x << ", " << y;
    }
}

// A 2:1 picture on a 4:3 monitor: 320 grid pixels wide and 320 / (2 * 15 / 16) high.
TEST(QualityMathTest, PlacementKeepsOrFillsTheShape) {
    const Placement keep = PlacementOf(2000, 1000, GridFit::Keep);
    EXPECT_NEAR(keep.width, 320, 1e-9);
    EXPECT_NEAR(keep.height, 512.0 / 3, 1e-9);
    EXPECT_NEAR(keep.top, (256 - 512.0 / 3) / 2, 1e-9);
    const GridRect covered = CoveredRect(keep);
    EXPECT_EQ(covered.top, 43);
    EXPECT_EQ(covered.bottom, 213);
    const Placement fill = PlacementOf(2000, 1000, GridFit::Fill);
    EXPECT_NEAR(fill.height, 256, 1e-9);
    EXPECT_NEAR(fill.width, 480, 1e-9);
    EXPECT_NEAR(fill.left, -80, 1e-9);
}

}  // namespace

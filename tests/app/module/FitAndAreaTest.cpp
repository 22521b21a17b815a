// The sampling pass's fits and area averaging.
#include <gtest/gtest.h>

#include <array>

#include "app/CaptureSampleGrid.h"
#include "platform/picture/PictureBox.h"
#include "sample/SampleGeometry.h"
#include "sample/SamplePicture.h"
#include "tests/app/module/ConversionState.h"

namespace {

using Module1::SampleGrid;

PictureBox Picture(int width, int height, std::uint32_t (*colourAt)(int x, int y)) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = colourAt(x, y);
    }
    PictureBox box;
    box.SetPicture(width, height, std::move(pixels));
    return box;
}

std::uint32_t White(int, int) {
    return 0xFFFFFF;
}

bool IsBlack(int x, int y) {
    return SampleGrid.RedPlane(x, y) == 0 && SampleGrid.GreenPlane(x, y) == 0 &&
           SampleGrid.BluePlane(x, y) == 0;
}

class FitAndAreaTest : public ::testing::Test {
protected:
    void SetUp() override { ResetConversionState(); }
    void Capture(const PictureBox& source, int sampling, int fit) {
        ConversionSettings.Sampling = static_cast<std::int16_t>(sampling);
        ConversionSettings.Fit = static_cast<std::int16_t>(fit);
        PictureBox preview(320, 256);
        CaptureSampleGrid(source, preview);
    }
};

TEST_F(FitAndAreaTest, AreaAveragesACheckerboardInLinearLight) {
    // Each cell covers 2 x 2 pixels of a one-pixel black and white checkerboard: half the light
    // of white, sRGB 188. Point sampling picks one square.
    const PictureBox checkerboard =
        Picture(640, 512, [](int x, int y) -> std::uint32_t { return (x + y) % 2 ? 0xFFFFFF : 0; });
    Capture(checkerboard, 1, 0);
    for (const auto& [x, y] :
         std::array<std::pair<int, int>, 4>{{{0, 0}, {319, 255}, {17, 200}, {160, 1}}}) {
        EXPECT_EQ(SampleGrid.RedPlane(x, y), 188) << x << ", " << y;
        EXPECT_EQ(SampleGrid.BluePlane(x, y), 188) << x << ", " << y;
    }
    Capture(checkerboard, 0, 0);
    EXPECT_EQ(SampleGrid.RedPlane(17, 200), 0);
}

TEST_F(FitAndAreaTest, KeepAspectCentresThePictureOnBlack) {
    struct Case {
        int width, height;
        int firstColumn, lastColumn;  // the picture's columns on the grid
        int firstRow, lastRow;
    };
    // A 4:3 screen of 320 x 256 cells: a square picture is 240 cells wide; a 4:1 picture is
    // 256 * (4/3) / 4 = 85.3 rows high, from row 85.3.
    const std::array<Case, 3> cases{{
        {100, 100, 40, 279, 0, 255},
        {400, 100, 0, 319, 85, 170},
        {640, 480, 0, 319, 0, 255},
    }};
    for (int sampling : {0, 1}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << c.width << " x " << c.height << ", sampling " << sampling);
            Capture(Picture(c.width, c.height, White), sampling, 1);
            for (int y = 0; y < 256; y += 5) {
                for (int x = 0; x < 320; x += 3) {
                    const bool inside =
                        x > c.firstColumn && x < c.lastColumn && y > c.firstRow && y < c.lastRow;
                    const bool outside =
                        x < c.firstColumn || x > c.lastColumn || y < c.firstRow || y > c.lastRow;
                    if (inside) {
                        ASSERT_EQ(SampleGrid.GreenPlane(x, y), 255) << x << ", " << y;
                    }
                    if (outside) {
                        ASSERT_TRUE(IsBlack(x, y)) << x << ", " << y;
                    }
                }
            }
        }
    }
}

TEST_F(FitAndAreaTest, FillCoversTheScreenAndCropsCentrally) {
    // A picture twice as wide as the screen's shape, left third red, middle third green, right
    // third blue: fill shows the middle half of it, green in the centre and red and blue at the
    // edges; nothing is black.
    const PictureBox bands = Picture(600, 225, [](int x, int) -> std::uint32_t {
        return x < 200 ? 0x0000FF : x < 400 ? 0x00FF00 : 0xFF0000;
    });
    Capture(bands, 0, 2);
    EXPECT_EQ(SampleGrid.RedPlane(0, 128), 255);
    EXPECT_EQ(SampleGrid.GreenPlane(160, 0), 255);
    EXPECT_EQ(SampleGrid.GreenPlane(160, 255), 255);
    EXPECT_EQ(SampleGrid.BluePlane(319, 128), 255);
    // The middle third spans cells 160 -+ 200 / 600 * 640 / 2.
    EXPECT_EQ(SampleGrid.GreenPlane(54, 128), 255);
    EXPECT_EQ(SampleGrid.RedPlane(52, 128), 255);
}

TEST(SampleGeometry, StretchKeepsTheClassicPositionsAndSpansCoverEveryPixel) {
    const SampleGeometry geometry = PlanSampleGeometry(1000, 700, Fit::Stretch, 320, 256);
    for (int x = 0; x < 320; ++x) {
        EXPECT_EQ(geometry.columns.points[x], SamplePosition(x, 1000, 320));
        // Neighbouring spans meet, with no gap and no overlap.
        if (x > 0) {
            EXPECT_EQ(geometry.columns.spans[x].begin, geometry.columns.spans[x - 1].end);
        }
    }
    EXPECT_EQ(geometry.columns.spans.front().begin, 0);
    EXPECT_EQ(geometry.columns.spans.back().end, 1000);
    EXPECT_EQ(geometry.rows.spans.back().end, 700);
}

}  // namespace

#include <gtest/gtest.h>

#include <array>

#include "app/CaptureSampleGrid.h"
#include "platform/picture/PictureBox.h"
#include "sample/SamplePicture.h"
#include "tests/app/module/ConversionState.h"

namespace {

using Module1::SampleGrid;

// A picture whose every pixel encodes its own position: red x mod 256, green y mod 256,
// blue (x div 256) + 16 (y div 256).
PictureBox PositionPicture(int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t blue = (x / 256) + 16 * (y / 256);
            pixels[static_cast<std::size_t>(y) * width + x] =
                (x % 256) | (y % 256) << 8 | blue << 16;
        }
    }
    PictureBox box;
    box.SetPicture(width, height, std::move(pixels));
    return box;
}

int SampledColumn(int x, int y) {
    return SampleGrid.RedPlane(x, y) + 256 * (SampleGrid.BluePlane(x, y) % 16);
}
int SampledRow(int x, int y) {
    return SampleGrid.GreenPlane(x, y) + 256 * (SampleGrid.BluePlane(x, y) / 16);
}

TEST(SampleCapture, PositionsRoundHalvesToEven) {
    struct Case {
        int position;
        double size;
        int grid;
        long long expected;
    };
    const std::array<Case, 9> cases{{
        {2, 400, 320, 2},  // 2.5
        {6, 400, 320, 8},  // 7.5
        {1, 128, 256, 0},  // 0.5
        {3, 128, 256, 2},  // 1.5
        {255, 128, 256, 128},
        {319, 160, 320, 160},
        {5, 640, 320, 10},
        {319, 100000, 320, 99688},  // far beyond 16 bits
        {255, 40000, 256, 39844},
    }};
    for (const Case& c : cases) {
        EXPECT_EQ(SamplePosition(c.position, c.size, c.grid), c.expected)
            << c.position << " of " << c.size;
    }
}

TEST(SampleCapture, SameSizeIsCopiedOneToOne) {
    ResetConversionState();
    const PictureBox picture = PositionPicture(320, 256);
    PictureBox preview(320, 256);
    CaptureSampleGrid(picture, preview);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 320; ++x) {
            ASSERT_EQ(SampledColumn(x, y), x);
            ASSERT_EQ(SampledRow(x, y), y);
            ASSERT_EQ(preview.Point(x, y), picture.Point(x, y)) << "the raw sample is drawn";
        }
    }
}

TEST(SampleCapture, DoubleSizeReadsEvenPixels) {
    ResetConversionState();
    PictureBox preview(320, 256);
    CaptureSampleGrid(PositionPicture(640, 512), preview);
    for (int y = 0; y < 256; y += 5) {
        for (int x = 0; x < 320; x += 3) {
            ASSERT_EQ(SampledColumn(x, y), 2 * x);
            ASSERT_EQ(SampledRow(x, y), 2 * y);
        }
    }
}

TEST(SampleCapture, RoundingOnAnOddSizedPicture) {
    ResetConversionState();
    PictureBox preview(320, 256);
    CaptureSampleGrid(PositionPicture(400, 128), preview);
    EXPECT_EQ(SampledColumn(2, 0), 2);
    EXPECT_EQ(SampledColumn(6, 0), 8);
    EXPECT_EQ(SampledRow(0, 1), 0);
    EXPECT_EQ(SampledRow(0, 3), 2);
}

TEST(SampleCapture, PointsOutsideTheSmallPictureGive255) {
    ResetConversionState();
    PictureBox preview(320, 256);
    CaptureSampleGrid(PositionPicture(160, 128), preview);
    for (int y = 0; y < 256; ++y) {
        EXPECT_EQ(SampleGrid.RedPlane(319, y), 255);
        EXPECT_EQ(SampleGrid.GreenPlane(319, y), 255);
        EXPECT_EQ(SampleGrid.BluePlane(319, y), 255);
    }
    for (int x = 0; x < 320; ++x) EXPECT_EQ(SampleGrid.BluePlane(x, 255), 255);
    EXPECT_EQ(SampledColumn(318, 0), 159);
    EXPECT_EQ(preview.Point(319, 0), -1);
}

TEST(SampleCapture, ChannelsAreSplitFromTheColourValue) {
    ResetConversionState();
    PictureBox picture;
    picture.SetPicture(1, 1, {32 | 64 << 8 | 128 << 16});
    PictureBox preview(320, 256);
    CaptureSampleGrid(picture, preview);
    EXPECT_EQ(SampleGrid.RedPlane(0, 0), 32);
    EXPECT_EQ(SampleGrid.GreenPlane(0, 0), 64);
    EXPECT_EQ(SampleGrid.BluePlane(0, 0), 128);
    picture.SetPicture(1, 1, {255});
    CaptureSampleGrid(picture, preview);
    EXPECT_EQ(SampleGrid.RedPlane(0, 0), 255);
    EXPECT_EQ(SampleGrid.GreenPlane(0, 0), 0);
    EXPECT_EQ(SampleGrid.BluePlane(0, 0), 0);
}

TEST(SampleCapture, ColumnAndRowBeyondTheGridStayZero) {
    ResetConversionState();
    PictureBox preview(320, 256);
    for (int pass = 0; pass < 3; ++pass) CaptureSampleGrid(PositionPicture(9, 7), preview);
    for (int y = 0; y <= 256; ++y) ASSERT_EQ(SampleGrid.BluePlane(320, y), 0);
    for (int x = 0; x <= 320; ++x) ASSERT_EQ(SampleGrid.RedPlane(x, 256), 0);
}

TEST(SampleCapture, EmptyPictureSamplesAsWhite) {
    ResetConversionState();
    PictureBox preview(320, 256);
    CaptureSampleGrid(PictureBox(), preview);
    EXPECT_EQ(SampleGrid.RedPlane(0, 0), 255);
    EXPECT_EQ(SampleGrid.BluePlane(319, 255), 255);
}

}  // namespace

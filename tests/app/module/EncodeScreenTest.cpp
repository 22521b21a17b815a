#include <gtest/gtest.h>

#include <array>

#include "screen/ScreenGeometry.h"
#include "tests/app/module/ScreenTestSupport.h"

namespace {

class EncodeScreenTest : public ::testing::Test {
protected:
    void SetUp() override { ResetConversionState(); }
    void Mode(int mode) { ConversionSettings.ScreenMode = static_cast<std::int16_t>(mode); }
    // Lights one grid column of scan line y with the channels that make the given MODE 2 colour.
    static void Paint(int gx, int y, int colour) {
        SetSample(gx, y, (colour & 4) ? 255 : 0, (colour & 2) ? 255 : 0, (colour & 1) ? 255 : 0);
    }
};

TEST_F(EncodeScreenTest, ScreenSizeOfEveryMode) {
    const std::array<std::pair<int, std::size_t>, 5> sizes{
        {{0, 20480}, {1, 20480}, {2, 20480}, {4, 10240}, {5, 10240}}};
    for (const auto& [mode, bytes] : sizes) {
        Mode(mode);
        MemorySink sink;
        PictureBox preview(320, 256);
        Module1::InitTables();
        EncodeScreen(sink, preview);
        EXPECT_EQ(sink.data.size(), bytes) << "mode " << mode;
        EXPECT_EQ(sink.calls, 32) << "one delivery per character row";
    }
}

TEST_F(EncodeScreenTest, ModesThreeAndSixAreRefused) {
    PictureBox preview(320, 256);
    MemorySink sink;
    for (int mode : {3, 6, 7, -1}) {
        Mode(mode);
        EXPECT_THROW(EncodeScreen(sink, preview), std::invalid_argument);
    }
}

TEST_F(EncodeScreenTest, AllZeroGridGivesZeroBytesAndBlackPreview) {
    PictureBox preview(320, 256);
    const auto bytes = Convert(preview);
    ASSERT_EQ(bytes.size(), 20480u);
    for (std::uint8_t b : bytes) ASSERT_EQ(b, 0);
    EXPECT_EQ(preview.Point(0, 0), 0);
    EXPECT_EQ(preview.Point(319, 255), 0);
}

TEST_F(EncodeScreenTest, ByteOrderFollowsCharacterCells) {
    // Modes 0 and 4 pack one pixel per bit: light only mode column 0 of some scan lines.
    for (int mode : {0, 4}) {
        ResetConversionState();
        Mode(mode);
        Paint(0, 1, 7);  // scan line 1, leftmost cell: offset 1
        Paint(0, 8, 7);  // scan line 8, first cell of character row 1
        // Scan line 0 of the second cell (mode columns 8..15): offset 8. Mode 0 reads mode
        // column 8 from grid column 4, mode 4 from grid column 8.
        Paint(mode == 0 ? 4 : 8, 0, 7);
        const auto bytes = Convert();
        const std::size_t rowBytes = mode == 0 ? 640 : 320;
        EXPECT_EQ(bytes[0], 0x00) << "mode " << mode;
        EXPECT_EQ(bytes[1], mode == 0 ? 0xC0 : 0x80) << "mode " << mode;
        EXPECT_EQ(bytes[8], mode == 0 ? 0xC0 : 0x80) << "mode " << mode;
        EXPECT_EQ(bytes[rowBytes], mode == 0 ? 0xC0 : 0x80) << "mode " << mode;
        EXPECT_EQ(bytes[rowBytes - 1], 0x00);
    }
}

TEST_F(EncodeScreenTest, ModeTwoSecondCellHoldsColumnsTwoAndThree) {
    Mode(2);
    // Mode column 2 covers grid columns 4 and 5, column 3 grid columns 6 and 7.
    Paint(4, 0, 5);
    Paint(5, 0, 5);
    Paint(6, 0, 3);
    Paint(7, 0, 3);
    const auto bytes = Convert();
    EXPECT_EQ(bytes[8], 0x27);
    EXPECT_EQ(bytes[0], 0x00);
}

TEST_F(EncodeScreenTest, PackingExamples) {
    struct Case {
        int mode;
        std::vector<int>
            colours;  // MODE 2 colour number painted under each pixel of the first byte
        std::uint8_t packed;
    };
    // In modes 1 and 5 red, yellow and white (MODE 2 colours 1, 3, 7) are indices 1, 2 and 3.
    const std::array<Case, 5> cases{{
        {4, {7, 0, 0, 0, 0, 0, 0, 7}, 0x81},
        {1, {1, 3, 7, 0}, 0x6A},
        {5, {1, 3, 7, 0}, 0x6A},
        {2, {5, 3}, 0x27},
        {2, {7, 7}, 0x3F},
    }};
    for (const Case& c : cases) {
        ResetConversionState();
        Mode(c.mode);
        const bool wide = c.mode == 2 || c.mode == 5;
        for (int p = 0; p < static_cast<int>(c.colours.size()); ++p) {
            Paint(wide ? 2 * p : p, 0, c.colours[p]);
            if (wide) Paint(2 * p + 1, 0, c.colours[p]);
        }
        EXPECT_EQ(Convert()[0], c.packed) << "mode " << c.mode;
    }
    // Mode 0 pixels come in pairs per grid column: columns 0 and 3 light pixels 0, 1, 6 and 7.
    ResetConversionState();
    Mode(0);
    Paint(0, 0, 7);
    Paint(3, 0, 7);
    EXPECT_EQ(Convert()[0], 0xC3);
}

TEST_F(EncodeScreenTest, WidePixelsAverageTheirTwoSamplesRoundingDown) {
    Mode(2);
    SetSample(0, 0, 0, 0, 127);
    SetSample(1, 0, 0, 0, 130);  // (127 + 130) / 2 = 128: on
    SetSample(2, 0, 0, 0, 127);
    SetSample(3, 0, 0, 0, 128);  // (127 + 128) / 2 = 127: off
    const auto bytes = Convert();
    EXPECT_EQ(bytes[0], 0x02);  // pixel 0 red, pixel 1 black
}

TEST_F(EncodeScreenTest, ModeZeroPreviewShowsTheOddColumn) {
    Mode(0);
    ConversionSettings.ToneStyle = 1;  // Fine: columns 0 and 1 of line 0 get offsets 0 and -86
    SetSample(0, 0, 100, 100, 100);
    PictureBox preview(320, 256);
    const auto bytes = Convert(preview);
    // Mode column 0: 100 + 0 is off; column 1: 100 - 86 is off. Raise to make column 0 on only.
    EXPECT_EQ(bytes[0] & 0xC0, 0x00);
    SetSample(0, 0, 128, 128, 128);
    const auto again = Convert(preview);
    EXPECT_EQ(again[0] & 0xC0, 0x80);  // column 0 on (128 + 0), column 1 off (128 - 86)
    EXPECT_EQ(preview.Point(0, 0), 0) << "the odd column, drawn last, is black";
}

TEST_F(EncodeScreenTest, ModesTwoAndFivePlotBothGridColumns) {
    for (int mode : {2, 5}) {
        ResetConversionState();
        Mode(mode);
        Paint(0, 0, 7);
        Paint(1, 0, 7);
        PictureBox preview(320, 256);
        Convert(preview);
        EXPECT_EQ(preview.Point(0, 0), 0xFFFFFF);
        EXPECT_EQ(preview.Point(1, 0), 0xFFFFFF);
        EXPECT_EQ(preview.Point(2, 0), 0);
    }
}

TEST_F(EncodeScreenTest, StaggerShiftsGreenAndRed) {
    // With stagger, at mode column 15 and scan line 14 green uses T(0, 0) and red T(1, 15).
    Mode(1);
    ConversionSettings.ToneStyle = 1;
    ConversionSettings.StaggerOn = 1;
    Module1::InitTables();
    Module1::BuildThresholdTable();
    const int blueOffset = Module1::ThresholdTable(15, 14);  // Fine: rank 53 -> -67.5 -> -68
    const int greenOffset = Module1::ThresholdTable(0, 0);   // 0
    const int redOffset = Module1::ThresholdTable(1, 15);    // rank 239 -> 100
    ASSERT_EQ(blueOffset, -68);
    ASSERT_EQ(greenOffset, 0);
    ASSERT_EQ(redOffset, 100);
    // Blue 195 is off (195 - 68 = 127); green 128 is on (128 + 0); red 28 is on (28 + 100).
    SetSample(15, 14, 195, 128, 28);
    PictureBox preview(320, 256);
    MemorySink sink;
    EncodeScreen(sink, preview);
    EXPECT_EQ(preview.Point(15, 14), 0x00FFFF) << "yellow";
    ConversionSettings.StaggerOn = 0;  // all three share T(15, 14) = -68: every channel off
    MemorySink plain;
    EncodeScreen(plain, preview);
    EXPECT_EQ(preview.Point(15, 14), 0x000000);
}

TEST_F(EncodeScreenTest, NoneIgnoresStagger) {
    Mode(2);
    for (int x = 0; x < 320; ++x) {
        for (int y = 0; y < 256; ++y) SetSample(x, y, (x * 7) % 256, (y * 3) % 256, (x + y) % 256);
    }
    const auto plain = Convert();
    ConversionSettings.StaggerOn = 1;
    EXPECT_EQ(Convert(), plain);
}

TEST_F(EncodeScreenTest, ClampingAndTheThresholdLimitsOfEveryStyle) {
    // 13 or less is never on and 243 or more always on, at any position and in every style.
    Mode(2);
    for (int style = 0; style <= 4; ++style) {
        for (int stagger : {0, 1}) {
            ConversionSettings.ToneStyle = static_cast<std::int16_t>(style);
            ConversionSettings.StaggerOn = static_cast<std::int16_t>(stagger);
            for (int x = 0; x < 320; ++x) {
                for (int y = 0; y < 256; ++y) SetSample(x, y, 13, 243, 255);
            }
            const auto bytes = Convert();
            for (std::uint8_t b : bytes) ASSERT_EQ(b, 0x0F) << "style " << style;  // green + red
        }
    }
}

TEST_F(EncodeScreenTest, LinesBelowTheGridAreZeroAndUnplotted) {
    Mode(4);
    for (int x = 0; x < 320; ++x) {
        for (int y = 0; y < 256; ++y) SetSample(x, y, 255, 255, 255);
    }
    ConversionSettings.GridHeight = 9;
    ConversionSettings.GridWidth = 12;
    PictureBox preview(320, 256);
    const auto bytes = Convert(preview);
    EXPECT_EQ(bytes[0], 0xFF);    // mode columns 0..7 inside the grid
    EXPECT_EQ(bytes[8], 0xF0);    // columns 8..11 inside, 12..15 index 0
    EXPECT_EQ(bytes[320], 0xFF);  // scan line 8
    EXPECT_EQ(bytes[321], 0x00);  // scan line 9 is below the grid
    EXPECT_EQ(preview.Point(11, 0), 0xFFFFFF);
    EXPECT_EQ(preview.Point(12, 0), static_cast<std::int32_t>(preview.BackColour()));
    EXPECT_EQ(preview.Point(0, 9), static_cast<std::int32_t>(preview.BackColour()));
}

TEST_F(EncodeScreenTest, GridWiderThanThePlanesIsRefused) {
    Mode(0);
    ConversionSettings.ScaleToGrid = 0;  // gx = x: mode 0 reads columns up to 639
    ConversionSettings.GridWidth = 400;
    PictureBox preview(320, 256);
    MemorySink sink;
    Module1::InitTables();
    EXPECT_THROW(EncodeScreen(sink, preview), SubscriptOutOfRange);
}

TEST_F(EncodeScreenTest, GridColumnThreeHundredTwentyIsClippedFromThePreview) {
    Mode(0);
    ConversionSettings.ScaleToGrid = 0;
    ConversionSettings.GridWidth = 321;  // column 320 exists in the planes, not in the preview
    SetSample(319, 0, 255, 255, 255);
    PictureBox preview(320, 256);
    const auto bytes = Convert(preview);
    EXPECT_EQ(preview.Point(319, 0), 0xFFFFFF);
    EXPECT_EQ(bytes[39 * 8], 0x01);  // mode column 319 is the last pixel of cell 39
}

TEST_F(EncodeScreenTest, UnsetGridBeforeStartUpGivesZeroBytes) {
    ResetConversionState(ConversionSettingsFields{});
    for (int x = 0; x < 320; ++x) SetSample(x, 0, 255, 255, 255);
    const auto bytes = Convert();
    ASSERT_EQ(bytes.size(), 20480u);  // mode 0
    for (std::uint8_t b : bytes) ASSERT_EQ(b, 0);
}

}  // namespace

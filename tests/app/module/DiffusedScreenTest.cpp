// The screen memory of the picture choices: error diffusion and palettes other than the MODE's.
#include <gtest/gtest.h>

#include <array>
#include <bit>

#include "tests/app/module/ScreenTestSupport.h"

namespace {

class DiffusedScreenTest : public ::testing::Test {
protected:
    void SetUp() override { ResetConversionState(); }
    static void FillGrid(int blue, int green, int red) {
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 320; ++x) SetSample(x, y, blue, green, red);
        }
    }
};

// The share of lit pixels in a MODE 0 or 4 screen.
double LitShare(const std::vector<std::uint8_t>& screen) {
    int lit = 0;
    for (std::uint8_t byte : screen) lit += std::popcount(byte);
    return lit / (8.0 * static_cast<double>(screen.size()));
}

TEST_F(DiffusedScreenTest, GreyIsDitheredInLinearLight) {
    // sRGB 188 is half the light of white: half the pixels lit, not the 74% that 188 / 255 gives.
    FillGrid(188, 188, 188);
    ConversionSettings.ScreenMode = 4;
    ConversionSettings.Diffusion = 1;
    EXPECT_NEAR(LitShare(Convert()), 0.5, 0.01);
}

TEST_F(DiffusedScreenTest, ModeZeroDiffusesEveryOneOf640Columns) {
    FillGrid(188, 188, 188);
    ConversionSettings.ScreenMode = 0;
    ConversionSettings.Diffusion = 1;
    PictureBox preview(320, 256);
    const std::vector<std::uint8_t> screen = Convert(preview);
    EXPECT_NEAR(LitShare(screen), 0.5, 0.01);
    // Pixels 2k and 2k + 1 share a grid sample; diffused in pairs they would always agree.
    int split = 0;
    for (std::uint8_t byte : screen) {
        for (int pair = 0; pair < 4; ++pair)
            split += ((byte >> (2 * pair)) & 3) == 1 || ((byte >> (2 * pair)) & 3) == 2;
    }
    EXPECT_GT(split, static_cast<int>(screen.size()) * 4 / 2);
    // The preview shows the pairs as the eye mixes them: mid grey.
    EXPECT_EQ(preview.Row(100)[100] & 0xFF, 188u);
}

TEST_F(DiffusedScreenTest, AListIsUsedInItsOrder) {
    struct Case {
        std::array<std::uint8_t, 8> list;
        std::uint8_t cyanByte;  // four cyan MODE 1 pixels
    };
    const std::array<Case, 3> cases{{
        {{0, 4, 6, 7}, 0xF0},  // logical 2: high bits set
        {{6, 0, 4, 7}, 0x00},  // logical 0
        {{0, 6, 4, 7}, 0x0F},  // logical 1
    }};
    FillGrid(255, 255, 0);
    ConversionSettings.ScreenMode = 1;
    ConversionSettings.PaletteChoice = kPaletteList;
    for (int diffusion : {0, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "diffusion " << diffusion << ", logical 0 is " << int{c.list[0]});
            ConversionSettings.Diffusion = static_cast<std::int16_t>(diffusion);
            ConversionSettings.PaletteList = c.list;
            Module1::InitTables();
            Module1::BuildThresholdTable();
            MemorySink sink;
            PictureBox preview(320, 256);
            const Palette palette = EncodeScreen(sink, preview);
            EXPECT_EQ(palette.physical,
                      std::vector<std::uint8_t>(c.list.begin(), c.list.begin() + 4));
            EXPECT_EQ(sink.data[1234], c.cyanByte);
            EXPECT_EQ(preview.Row(7)[7], 0xFFFF00u) << "cyan";
        }
    }
}

TEST_F(DiffusedScreenTest, TheClassicConversionReportsTheModesColours) {
    for (int mode : {0, 1, 2, 4, 5}) {
        ConversionSettings.ScreenMode = static_cast<std::int16_t>(mode);
        Module1::InitTables();
        MemorySink sink;
        PictureBox preview(320, 256);
        EXPECT_EQ(EncodeScreen(sink, preview), DefaultPalette(mode)) << "MODE " << mode;
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/app/module/ConversionState.h"

namespace {

using Module1::NearestColour;
using Module1::PaletteBits;

class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetConversionState();
        Module1::InitTables();
    }

    static std::int16_t Nearest(int mode, int blue, int green, int red, std::int32_t& preview) {
        ConversionSettings.ScreenMode = static_cast<std::int16_t>(mode);
        const int colourCount = mode == 2 ? 8 : (mode == 1 || mode == 5) ? 4 : 2;
        return NearestColour(static_cast<std::int16_t>(blue), static_cast<std::int16_t>(green),
                             static_cast<std::int16_t>(red), static_cast<std::int16_t>(colourCount),
                             preview);
    }
};

constexpr std::int32_t Rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

TEST_F(PaletteTest, DefaultColoursOfEveryMode) {
    struct Colour {
        int blue, green, red;
    };
    const std::vector<Colour> twoColours{{0, 0, 0}, {1, 1, 1}};
    const std::vector<Colour> fourColours{{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 1, 1}};
    const std::vector<Colour> eightColours{{0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 1},
                                           {1, 0, 0}, {1, 0, 1}, {1, 1, 0}, {1, 1, 1}};
    const std::array<const std::vector<Colour>*, 7> byMode{
        &twoColours, &fourColours, &eightColours, nullptr, &twoColours, &fourColours, nullptr};
    for (int mode = 0; mode <= 6; ++mode) {
        for (int index = 0; index <= 8; ++index) {
            Colour expected{0, 0, 0};
            if (byMode[mode] != nullptr && index < static_cast<int>(byMode[mode]->size())) {
                expected = (*byMode[mode])[index];
            }
            SCOPED_TRACE("mode " + std::to_string(mode) + " colour " + std::to_string(index));
            EXPECT_EQ(PaletteBits(0, mode, index), expected.blue);
            EXPECT_EQ(PaletteBits(1, mode, index), expected.green);
            EXPECT_EQ(PaletteBits(2, mode, index), expected.red);
        }
    }
}

TEST_F(PaletteTest, InitTablesAgainChangesNothing) {
    const auto before = PaletteBits;
    const auto fine = Module1::PatternFine;
    Module1::InitTables();
    for (int i = 0; i < static_cast<int>(decltype(PaletteBits)::kSize); ++i) {
        ASSERT_EQ(PaletteBits.Data()[i], before.Data()[i]);
    }
    for (int i = 0; i < static_cast<int>(Module1::TonePattern::kSize); ++i) {
        ASSERT_EQ(Module1::PatternFine.Data()[i], fine.Data()[i]);
    }
}

// The winner for every combination of channel bits: modes 0/4, 1/5 and 2.
TEST_F(PaletteTest, OutcomeForEveryChannelCombination) {
    struct Row {
        int blue, green, red;
        int twoColour, fourColour, eightColour;
    };
    const std::array<Row, 8> rows{{
        {0, 0, 0, 0, 0, 0},
        {0, 0, 1, 0, 1, 1},
        {0, 1, 0, 0, 0, 2},  // four colours: black and yellow tie, the lower index wins
        {0, 1, 1, 1, 2, 3},
        {1, 0, 0, 0, 0, 4},
        {1, 0, 1, 1, 1, 5},  // four colours: red and white tie
        {1, 1, 0, 1, 3, 6},
        {1, 1, 1, 1, 3, 7},
    }};
    for (const Row& row : rows) {
        for (int mode : {0, 1, 2, 4, 5}) {
            const int expected = mode == 2                  ? row.eightColour
                                 : (mode == 1 || mode == 5) ? row.fourColour
                                                            : row.twoColour;
            std::int32_t preview = 12345;
            const int got = Nearest(mode, row.blue * 200, row.green * 200, row.red * 200, preview);
            SCOPED_TRACE("mode " + std::to_string(mode) + " bits " + std::to_string(row.blue) +
                         std::to_string(row.green) + std::to_string(row.red));
            EXPECT_EQ(got, expected);
            EXPECT_EQ(preview, Rgb(PaletteBits(2, mode, expected) * 255,
                                   PaletteBits(1, mode, expected) * 255,
                                   PaletteBits(0, mode, expected) * 255));
        }
    }
}

TEST_F(PaletteTest, ChannelIsOnFrom128) {
    std::int32_t preview = 0;
    EXPECT_EQ(Nearest(2, 0, 0, 127, preview), 0);
    EXPECT_EQ(Nearest(2, 0, 0, 128, preview), 1);
    EXPECT_EQ(Nearest(2, 0, 0, -300, preview), 0);
    EXPECT_EQ(Nearest(2, 0, 0, 32767, preview), 1);
    EXPECT_EQ(Nearest(1, 255, 255, 255, preview), 3);
    EXPECT_EQ(Nearest(2, 255, 255, 255, preview), 7);
    EXPECT_EQ(Nearest(0, 255, 255, 255, preview), 1);
}

TEST_F(PaletteTest, WorkedExamples) {
    std::int32_t preview = -5;
    EXPECT_EQ(Nearest(1, 0, 255, 0, preview), 0);
    EXPECT_EQ(preview, Rgb(0, 0, 0));
    EXPECT_EQ(Nearest(5, 255, 0, 255, preview), 1);
    EXPECT_EQ(preview, Rgb(255, 0, 0));
    EXPECT_EQ(Nearest(1, 200, 200, 0, preview), 3);
    EXPECT_EQ(preview, Rgb(255, 255, 255));
    EXPECT_EQ(Nearest(4, 200, 0, 0, preview), 0);
    EXPECT_EQ(Nearest(4, 200, 0, 200, preview), 1);
    EXPECT_EQ(Nearest(2, 0, 255, 255, preview), 3);
    EXPECT_EQ(preview, Rgb(255, 255, 0));
    EXPECT_EQ(Nearest(2, 130, 0, 255, preview), 5);
    EXPECT_EQ(preview, Rgb(255, 0, 255));
}

TEST_F(PaletteTest, IndicesOutsideThePaletteTableAreRefused) {
    std::int32_t preview = 0;
    ConversionSettings.ScreenMode = 2;
    EXPECT_THROW(NearestColour(0, 0, 0, 10, preview), SubscriptOutOfRange);  // candidate 9
    EXPECT_THROW(NearestColour(0, 0, 0, 0, preview), SubscriptOutOfRange);   // preview of -1
    EXPECT_NO_THROW(NearestColour(0, 0, 0, 9, preview));
    ConversionSettings.ScreenMode = 7;
    EXPECT_THROW(NearestColour(0, 0, 0, 2, preview), SubscriptOutOfRange);
    ConversionSettings.ScreenMode = -1;
    EXPECT_THROW(NearestColour(0, 0, 0, 2, preview), SubscriptOutOfRange);
}

}  // namespace

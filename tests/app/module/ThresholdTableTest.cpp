#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

#include "tests/app/module/ConversionState.h"

namespace {

using Module1::ThresholdTable;
using Grid16 = std::array<std::array<int, 16>, 16>;  // [y][x]

// Ranks 0..255 worked out independently of the two expansion passes, from the closed form
// 16 P(x mod 4, y mod 4) + 4 Q(x div 4 mod 2, y div 4 mod 2) + Q(x div 8, y div 8).
Grid16 ClosedFormRanks(const Module1::TonePattern& pattern) {
    const auto q = [](int a, int b) { return a == 0 ? (b == 0 ? 0 : 3) : (b == 0 ? 2 : 1); };
    Grid16 ranks{};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            ranks[y][x] =
                16 * pattern(x % 4, y % 4) + 4 * q(x / 4 % 2, y / 4 % 2) + q(x / 8, y / 8);
        }
    }
    return ranks;
}

int Offset(int rank) {
    // (rank - 128) * 0.9 to the nearest integer, halves to even.
    const int tenfold = (rank - 128) * 9;
    const int whole = tenfold / 10;
    const int rest = tenfold % 10;
    if (rest > 5 || (rest == 5 && whole % 2 != 0)) return whole + 1;
    if (rest < -5 || (rest == -5 && whole % 2 != 0)) return whole - 1;
    return whole;
}

class ThresholdTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetConversionState();
        Module1::InitTables();
    }
    void Build(int style) {
        ConversionSettings.ToneStyle = static_cast<std::int16_t>(style);
        Module1::BuildThresholdTable();
    }
    static const Module1::TonePattern& PatternOf(int style) {
        const std::array<const Module1::TonePattern*, 5> patterns{
            nullptr, &Module1::PatternFine, &Module1::PatternCoarse, &Module1::PatternSpiral,
            &Module1::PatternDiagonal};
        return *patterns[style];
    }
};

TEST_F(ThresholdTableTest, PatternsHoldEachRankOnceAndKeepIndexFourZero) {
    for (int style = 1; style <= 4; ++style) {
        std::vector<int> ranks;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) ranks.push_back(PatternOf(style)(x, y));
        }
        std::sort(ranks.begin(), ranks.end());
        std::vector<int> expected(16);
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(ranks, expected) << "style " << style;
        for (int i = 0; i <= 4; ++i) {
            EXPECT_EQ(PatternOf(style)(4, i), 0);
            EXPECT_EQ(PatternOf(style)(i, 4), 0);
        }
    }
}

TEST_F(ThresholdTableTest, PatternOrientation) {
    // The spiral starts at the top right and runs leftwards; the diagonal is 4 ((y - x) mod 4) + x.
    EXPECT_EQ(Module1::PatternSpiral(3, 0), 0);
    EXPECT_EQ(Module1::PatternSpiral(0, 0), 3);
    EXPECT_EQ(Module1::PatternSpiral(0, 3), 6);
    EXPECT_EQ(Module1::PatternSpiral(3, 1), 11);
    EXPECT_EQ(Module1::PatternSpiral(2, 2), 15);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(Module1::PatternDiagonal(x, y), 4 * (((y - x) % 4 + 4) % 4) + x);
        }
    }
    EXPECT_EQ(Module1::PatternFine(1, 1), 13);
    EXPECT_EQ(Module1::PatternCoarse(0, 2), 0);
}

TEST_F(ThresholdTableTest, EveryStyleMatchesTheClosedForm) {
    for (int style = 1; style <= 4; ++style) {
        Build(style);
        const Grid16 ranks = ClosedFormRanks(PatternOf(style));
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                ASSERT_EQ(ThresholdTable(x, y), Offset(ranks[y][x]))
                    << "style " << style << " at (" << x << ", " << y << ")";
            }
        }
    }
}

TEST_F(ThresholdTableTest, FineRanksAsWorkedOut) {
    const Grid16 ranks = ClosedFormRanks(Module1::PatternFine);
    const std::array<int, 16> line0{128, 32, 160, 0, 136, 40, 168, 8,
                                    130, 34, 162, 2, 138, 42, 170, 10};
    const std::array<int, 16> line8{131, 35, 163, 3, 139, 43, 171, 11,
                                    129, 33, 161, 1, 137, 41, 169, 9};
    const std::array<int, 16> line15{79, 239, 111, 207, 71, 231, 103, 199,
                                     77, 237, 109, 205, 69, 229, 101, 197};
    EXPECT_EQ(ranks[0], line0);
    EXPECT_EQ(ranks[8], line8);
    EXPECT_EQ(ranks[15], line15);
}

TEST_F(ThresholdTableTest, FineOffsetsOfTheFirstTwoLines) {
    Build(1);
    const std::array<int, 16> line0{0, -86, 29, -115, 7, -79, 36, -108,
                                    2, -85, 31, -113, 9, -77, 38, -106};
    const std::array<int, 16> line1{-14, 72, -43, 101, -7, 79, -36, 108,
                                    -13, 74, -41, 103, -5, 81, -34, 110};
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(ThresholdTable(x, 0), line0[x]) << "x " << x;
        EXPECT_EQ(ThresholdTable(x, 1), line1[x]) << "x " << x;
    }
}

TEST_F(ThresholdTableTest, FirstLineOfTheOtherStyles) {
    const std::array<std::array<int, 16>, 3> firstLines{{
        {144, 176, 16, 112, 152, 184, 24, 120, 146, 178, 18, 114, 154, 186, 26, 122},
        {48, 32, 16, 0, 56, 40, 24, 8, 50, 34, 18, 2, 58, 42, 26, 10},
        {0, 208, 160, 112, 8, 216, 168, 120, 2, 210, 162, 114, 10, 218, 170, 122},
    }};
    for (int style = 2; style <= 4; ++style) {
        Build(style);
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(ThresholdTable(x, 0), Offset(firstLines[style - 2][x]))
                << "style " << style << " x " << x;
        }
    }
}

TEST_F(ThresholdTableTest, NamedEntries) {
    struct Entry {
        int style, x, y, offset;
    };
    const std::array<Entry, 9> entries{{
        {1, 0, 0, 0},
        {1, 3, 0, -115},
        {1, 3, 1, 101},
        {3, 3, 0, -115},
        {3, 0, 0, -72},
        {4, 0, 0, -115},
        {4, 1, 0, 72},
        {2, 0, 0, 14},
        {2, 2, 0, -101},
    }};
    for (const Entry& e : entries) {
        Build(e.style);
        EXPECT_EQ(ThresholdTable(e.x, e.y), e.offset) << "style " << e.style;
    }
}

TEST_F(ThresholdTableTest, HalvesRoundToEven) {
    EXPECT_EQ(Offset(3), -112);
    EXPECT_EQ(Offset(113), -14);
    EXPECT_EQ(Offset(133), 4);
    EXPECT_EQ(Offset(143), 14);
    // The same ranks through the real table: Fine has rank 3 at (3, 8) and 143 at (0, 12).
    Build(1);
    EXPECT_EQ(ThresholdTable(3, 8), -112);
    EXPECT_EQ(ThresholdTable(0, 12), 14);
}

TEST_F(ThresholdTableTest, EveryStyleSpreadsTheSameOffsets) {
    std::vector<int> reference;
    for (int style = 1; style <= 4; ++style) {
        Build(style);
        std::vector<int> offsets;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) offsets.push_back(ThresholdTable(x, y));
        }
        EXPECT_EQ(std::accumulate(offsets.begin(), offsets.end(), 0), -115);
        std::sort(offsets.begin(), offsets.end());
        EXPECT_EQ(offsets.front(), -115);
        EXPECT_EQ(offsets.back(), 114);
        if (reference.empty()) reference = offsets;
        EXPECT_EQ(offsets, reference) << "style " << style;
    }
}

TEST_F(ThresholdTableTest, NoneIsAllZeroEvenAfterAnotherStyle) {
    Build(4);
    Build(0);
    for (int y = 0; y <= 16; ++y) {
        for (int x = 0; x <= 16; ++x) ASSERT_EQ(ThresholdTable(x, y), 0);
    }
}

TEST_F(ThresholdTableTest, RebuildingGivesTheSameTableAndLeavesIndexSixteenZero) {
    for (int style = 0; style <= 4; ++style) {
        Build(style);
        const auto first = ThresholdTable;
        Build(style);
        for (int y = 0; y <= 16; ++y) {
            for (int x = 0; x <= 16; ++x) {
                ASSERT_EQ(ThresholdTable(x, y), first(x, y));
                if (x == 16 || y == 16) {
                    ASSERT_EQ(ThresholdTable(x, y), 0);
                }
            }
        }
    }
}

}  // namespace

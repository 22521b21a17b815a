// The MODE 7 solver: rows that look as it says they look, on every reading of hold.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "convert/Convert.h"
#include "screen/TeletextRow.h"
#include "teletext/ConvertTeletext.h"
#include "teletext/RowSolver.h"
#include "teletext/SixelColours.h"

namespace {

using Colour = std::array<float, 3>;
constexpr Colour kBlack{0, 0, 0}, kWhite{1, 1, 1}, kRed{1, 0, 0}, kBlue{0, 0, 1}, kYellow{1, 1, 0},
    kGrey{0.4f, 0.4f, 0.4f};

RowTargets TargetsOf(const std::function<Colour(int column, int pair)>& colour) {
    RowTargets targets;
    for (int pair = 0; pair < kSixelRows; ++pair)
        for (int column = 0; column < kPictureSixelColumns; ++column)
            targets[pair][column] = colour(column, pair);
    return targets;
}

// The first cell that breaks a rule whose look would depend on how an SAA5050 reading treats
// hold, or uses a byte the solver has no business with; -1 for none.
int FirstBreak(const std::array<std::uint8_t, kTeletextColumns>& row) {
    bool graphics = false, hold = false, afterMosaic = false, heldBlank = true;
    for (int cell = 0; cell < kTeletextColumns; ++cell) {
        const std::uint8_t byte = row[cell];
        const bool mosaic = graphics && byte >= 0xA0 && (byte & 0x20);
        if (byte >= 0xA0 && !mosaic) return cell;                 // text, or capitals in graphics
        if (byte == 0x9E && !hold && !afterMosaic) return cell;   // holds a cleared character
        if (byte == 0x9F && hold && !heldBlank) return cell;      // Release at or after its cell
        if ((byte == 0x99 || byte == 0x9A) && hold) return cell;  // held in which set?
        if (byte < 0x91 || byte == 0x98 || byte == 0x9B) return cell;
        if (byte >= 0x91 && byte <= 0x97) graphics = true;
        if (byte == 0x9E) hold = true;
        if (byte == 0x9F) hold = false;
        if (mosaic) heldBlank = (byte & 0x5F) == 0;
        afterMosaic = mosaic;
    }
    return -1;
}

// Rows that tempt: colour changes in every cell (hold saves them), shapes ending in blank
// (release), grey next to colour (separated beside hold), and noise.
const std::pair<const char*, std::function<Colour(int, int)>> kTemptingRows[] = {
    {"a new colour every cell",
     [](int c, int) {
         return Colour{float(c / 2 % 2), float(c / 2 % 3 == 0), float(c / 2 % 5 < 2)};
     }},
    {"shapes ending in blank",
     [](int c, int p) { return c % 8 < 3              ? kYellow
                               : c % 8 == 3 && p == 1 ? kBlue
                                                      : kBlack; }},
    {"grey beside coloured bars",
     [](int c, int p) { return c < 30            ? kGrey
                               : (c + p) % 4 < 2 ? kRed
                                                 : kBlue; }},
    {"colours, a gap, then grey",
     [](int c, int) {
         const Colour colours[] = {kRed, kBlue, kYellow, kWhite};
         return c < 40 ? colours[c / 2 % 4] : c < 46 ? kBlack : kGrey;
     }},
    {"diagonal edges", [](int c, int p) { return (c + 2 * p) % 9 < 4 ? kWhite : kRed; }},
    {"noise", [](int c, int p) {
         std::mt19937 random(static_cast<unsigned>(c * 3 + p));
         std::uniform_real_distribution<float> level(0, 1);
         return Colour{level(random), level(random), level(random)};
     }}};

std::array<std::uint8_t, kTeletextColumns> Bytes(std::initializer_list<std::uint8_t> start) {
    std::array<std::uint8_t, kTeletextColumns> row;
    row.fill(0xA0);
    std::copy(start.begin(), start.end(), row.begin());
    return row;
}

TEST(RowSolver, TheRowsTheRulesForbid) {
    const std::pair<std::array<std::uint8_t, kTeletextColumns>, int> rows[] = {
        {Bytes({0x91, 0xFF, 0x94, 0x9E}), 3},  // Hold after a code: held character cleared?
        {Bytes({0x91, 0xFF, 0x9E, 0x9F}), 3},  // Release holding a block: block or space?
        {Bytes({0x91, 0xFF, 0x9E, 0x9A}), 3},  // a set change under hold: which set?
        {Bytes({0x91, 0xFF, 0x9E, 0xA0, 0x9F, 0x9A}), -1},
    };
    for (const auto& [row, cell] : rows) EXPECT_EQ(FirstBreak(row), cell);
}

TEST(RowSolver, NeverLeansOnHoldBehaviourReadingsDisagreeOn) {
    RowSolver solver;
    int holds = 0, releases = 0;
    for (const auto& [name, colour] : kTemptingRows) {
        SCOPED_TRACE(name);
        const RowTargets targets = TargetsOf(colour);
        const SolvedRow row = solver.Solve(targets);
        EXPECT_EQ(FirstBreak(row.bytes), -1);
        // What the solver says the row costs is what the chip shows of it.
        EXPECT_NEAR(row.error, RowError(row.bytes.data(), targets), 1e-3f * row.error + 1e-3f);
        holds += static_cast<int>(std::count(row.bytes.begin(), row.bytes.end(), 0x9E));
        releases += static_cast<int>(std::count(row.bytes.begin(), row.bytes.end(), 0x9F));
    }
    EXPECT_GT(holds, 0) << "the rows tempt the solver to hold";
    EXPECT_GT(releases, 0) << "... and to release";
}

TEST(RowSolver, ShowsEveryPlainColourExactly) {
    RowSolver solver;
    for (int colour = 0; colour < 8; ++colour) {
        SCOPED_TRACE(colour);
        const Colour rgb{float(colour & 1), float(colour >> 1 & 1), float(colour >> 2 & 1)};
        const SolvedRow row = solver.Solve(TargetsOf([&](int, int) { return rgb; }));
        EXPECT_LT(row.error, 1e-3f);
        const TeletextRow shown = DecodeTeletextRow(row.bytes.data(), false);
        EXPECT_EQ(shown.cells[0].background, 0) << "cell 0 shows black";
    }
}

TEST(ConvertTeletext, APageFromTheSamples) {
    std::vector<std::int32_t> colours(kGridColumns * kGridRows);
    for (int i = 0; i < kGridColumns * kGridRows; ++i)
        colours[i] = (i % kGridColumns * 255 / (kGridColumns - 1)) << 8;
    ConversionChoices choices;
    choices.screenMode = ScreenMode::Mode7;
    const Samples samples(colours);
    const EncodedScreen screen = Convert(samples, choices);
    EXPECT_EQ(screen.screenMode, ScreenMode::Mode7);
    ASSERT_EQ(screen.bytes.size(), 1000u);
    EXPECT_EQ(screen.preview.Width(), 320);
    EXPECT_EQ(screen.preview.Height(), 256);
    EXPECT_EQ(screen.palette, DefaultPalette(2));
    for (int r = 0; r < kTeletextRows; ++r) {
        const std::uint8_t first = screen.bytes[r * kTeletextColumns];
        EXPECT_TRUE((first >= 0x91 && first <= 0x97) || first == 0x9A) << "row " << r;
    }
    // A green ramp: the right end of each row shows green, the left black.
    const TeletextRow row = DecodeTeletextRow(screen.bytes.data() + 12 * kTeletextColumns, false);
    float left[kSixelsPerCell][3], right[kSixelsPerCell][3];
    ShownSixels(row.cells[1], left);
    ShownSixels(row.cells[39], right);
    for (int s = 0; s < kSixelsPerCell; ++s) {
        EXPECT_EQ(Colour({left[s][0], left[s][1], left[s][2]}), kBlack) << s;
        EXPECT_EQ(Colour({right[s][0], right[s][1], right[s][2]}), Colour({0, 1, 0})) << s;
    }
    EXPECT_THROW(ConvertPlanes(samples.Planes(), choices, TonesFor(choices), PictureBox(320, 256)),
                 std::invalid_argument);
    // The picture adjustments apply: darkened, the ramp's right end is no longer full green.
    choices.adjustments.brightness = -100;
    EXPECT_NE(Convert(samples, choices).bytes, screen.bytes);
}

}  // namespace

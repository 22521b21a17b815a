// MODE 7 as the SAA5050 shows it: the page's bytes, the codes' timing, the sixels' bits and the
// drawing of a cell on the monitor.
#include <gtest/gtest.h>

#include "colour/LinearLight.h"
#include "screen/DisplayTeletext.h"
#include "screen/ScreenFiles.h"
#include "screen/TeletextRow.h"

namespace {

constexpr std::uint8_t R = 0x91, Y = 0x93, B = 0x94, W = 0x97, NB = 0x9D, BB = 0x9C, HOLD = 0x9E,
                       REL = 0x9F, SEP = 0x9A, CON = 0x99, FULL = 0xFF, TOP_LEFT = 0xA1;

std::vector<std::uint8_t> Row(std::initializer_list<std::uint8_t> bytes) {
    std::vector<std::uint8_t> row(bytes);
    row.resize(kTeletextColumns, 0x20);
    return row;
}

TEST(TeletextRow, CodesActAtOrAfterTheirCell) {
    struct Case {
        const char* rule;
        std::vector<std::uint8_t> row;
        int cell;
        std::uint8_t character, foreground, background;
        GlyphSet set;
    };
    const Case cases[] = {
        {"a row starts white text on black", Row({'A'}), 0, 'A', 7, 0, GlyphSet::Text},
        {"a graphics colour acts after its cell", Row({R, FULL}), 0, 0x20, 7, 0, GlyphSet::Text},
        {"... and its mosaic follows", Row({R, FULL}), 1, 0x7F, 1, 0, GlyphSet::Contiguous},
        {"New Background acts at its cell", Row({R, NB}), 1, 0x20, 1, 1, GlyphSet::Contiguous},
        {"Black Background acts at its cell", Row({R, NB, BB}), 2, 0x20, 1, 0,
         GlyphSet::Contiguous},
        {"separated acts at its cell", Row({R, SEP, FULL}), 2, 0x7F, 1, 0, GlyphSet::Separated},
        {"Hold acts at its cell", Row({R, FULL, HOLD}), 2, 0x7F, 1, 0, GlyphSet::Contiguous},
        {"a held mosaic keeps the old colour", Row({R, FULL, HOLD, B}), 3, 0x7F, 1, 0,
         GlyphSet::Contiguous},
        {"... and the new background", Row({R, FULL, HOLD, NB}), 3, 0x7F, 1, 1,
         GlyphSet::Contiguous},
        {"Release acts after its cell", Row({R, FULL, HOLD, REL}), 3, 0x7F, 1, 0,
         GlyphSet::Contiguous},
        {"... then codes show spaces", Row({R, FULL, HOLD, REL, B}), 4, 0x20, 1, 0,
         GlyphSet::Contiguous},
        {"a held mosaic keeps its set", Row({R, SEP, FULL, HOLD, CON, B}), 5, 0x7F, 1, 0,
         GlyphSet::Separated},
        {"text shows no held mosaic", Row({R, FULL, 0x81, HOLD}), 3, 0x20, 1, 0, GlyphSet::Text},
        {"the mosaic set shows capitals", Row({R, 'A'}), 1, 'A', 1, 0, GlyphSet::Contiguous},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const TeletextCell cell = DecodeTeletextRow(c.row.data(), false).cells[c.cell];
        EXPECT_EQ(cell.character, c.character);
        EXPECT_EQ(cell.foreground, c.foreground);
        EXPECT_EQ(cell.background, c.background);
        EXPECT_EQ(cell.set, c.set);
    }
}

TEST(TeletextPage, SixelBitsSkipBitFive) {
    // pattern bits: 0 top left, 1 top right, 2 middle left, 3 middle right, 4 bottom left,
    // 5 bottom right; the byte skips its bit 5, which makes a mosaic
    const std::pair<int, std::uint8_t> cases[] = {{0, 0xA0},  {1, 0xA1},  {2, 0xA2},
                                                  {4, 0xA4},  {8, 0xA8},  {16, 0xB0},
                                                  {32, 0xE0}, {63, 0xFF}, {0x2A, 0xEA}};
    for (const auto& [pattern, byte] : cases) {
        SCOPED_TRACE(pattern);
        EXPECT_EQ(SixelByte(pattern), byte);
        EXPECT_EQ(SixelPattern(byte), pattern);
        EXPECT_TRUE(IsSixelCharacter(byte));
    }
    EXPECT_EQ(kTeletextPageBytes, 1000);
    EXPECT_EQ(ScreenMemoryOf(7).startAddress, 0x7C00u);
    EXPECT_EQ(SidecarText(7), "$.SCREEN   007C00 000000 0003E8\r\n");
}

TEST(DisplayTeletext, HalfDotsOfSixelsAndRoundedText) {
    struct Case {
        const char* what;
        std::uint8_t character;
        GlyphSet set;
        int line;
        std::uint16_t halfDots;  // bit 0 the leftmost of 12
    };
    const Case cases[] = {
        {"top left sixel, first line", 0xA1, GlyphSet::Contiguous, 0, 0x03F},
        {"top right sixel spans lines 0-5", 0xA2, GlyphSet::Contiguous, 5, 0xFC0},
        {"middle pair spans lines 6-13", 0xA8, GlyphSet::Contiguous, 13, 0xFC0},
        {"bottom right sixel", 0xE0, GlyphSet::Contiguous, 19, 0xFC0},
        {"not the top sixels on line 6", 0xA3, GlyphSet::Contiguous, 6, 0},
        {"separated loses its left column", 0xA1, GlyphSet::Separated, 0, 0x03C},
        {"... and its bottom dot row", 0xA1, GlyphSet::Separated, 4, 0},
        {"... of the middle pair too", 0xA4, GlyphSet::Separated, 12, 0},
        {"a sixel character in text is text", 0xA1, GlyphSet::Text, 2, 0x0C0},
        // 'A' has its apex alone in dot row 1 and two dots below it: the other field's line
        // gains a half-dot on each side, toward the diagonal.
        {"A's apex, even line", 'A', GlyphSet::Text, 2, 0x0C0},
        {"A's apex rounded, odd line", 'A', GlyphSet::Text, 3, 0x1E0},
        {"capitals in the mosaic set", 'A', GlyphSet::Contiguous, 3, 0x1E0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(GlyphHalfDots(c.character, c.set, c.line), c.halfDots);
    }
}

TEST(DisplayTeletext, CellsSixteenColumnsWideMixedWhereHalfDotsStraddle) {
    // Row 0: separated white full block in cell 1; row 1: red New Background.
    std::vector<std::uint8_t> page(kTeletextPageBytes, 0x20);
    page[0] = W, page[1] = SEP, page[2] = FULL;
    page[40] = R, page[41] = NB;
    const PictureBox display = DisplayTeletext(page);
    ASSERT_EQ(display.Width(), 640);
    ASSERT_EQ(display.Height(), 512);
    // Cell 2's separated left sixel covers half-dots 2-5: columns 32+2 (a third), 35-39 fully.
    const std::uint32_t third = LevelOfLinear(1.0f / 3) * 0x010101u;
    const std::pair<int, std::uint32_t> line0[] = {
        {33, 0}, {34, third}, {35, 0xFFFFFF}, {39, 0xFFFFFF}, {40, 0}, {42, third}, {47, 0xFFFFFF}};
    for (const auto& [x, colour] : line0) EXPECT_EQ(display.Point(x, 0), colour) << x;
    EXPECT_EQ(display.Point(35, 4), 0) << "the sixel's bottom dot row is background";
    EXPECT_EQ(display.Point(15, 25), 0) << "cell 0 before New Background";
    EXPECT_EQ(display.Point(16, 25), 0x0000FF) << "red from cell 1 on";
    EXPECT_EQ(display.Point(639, 39), 0x0000FF);
    EXPECT_EQ(display.Point(16, 500), 0) << "below the 25 rows";
}

TEST(DisplayTeletext, APageOfEveryCodeAsTheEmulatorDrewIt) {
    // Every byte from &80 to &FF, 7 apart, over and over: every code, mosaic and character.
    // The hash is of a display that matched, pixel for pixel, what an emulated BBC Micro
    // (jsbeeb, OS 1.20) showed of the page.
    std::vector<std::uint8_t> page(kTeletextPageBytes);
    for (int i = 0; i < kTeletextPageBytes; ++i)
        page[i] = static_cast<std::uint8_t>(0x80 + i * 7 % 128);
    const PictureBox display = DisplayTeletext(page);
    std::uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < display.Height(); ++y)
        for (int x = 0; x < display.Width(); ++x)
            hash = (hash ^ static_cast<std::uint32_t>(display.Point(x, y))) * 1099511628211ull;
    EXPECT_EQ(hash, 5918738191305005693u);
}

}  // namespace

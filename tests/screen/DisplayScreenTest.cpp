#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "screen/DisplayScreen.h"

namespace {

// Monitor colours as colour values (red in the low byte).
constexpr std::uint32_t kShownBlack = 0x000000, kShownRed = 0x0000FF, kShownYellow = 0x00FFFF,
                        kShownBlue = 0xFF0000, kShownMagenta = 0xFF00FF, kShownCyan = 0xFFFF00,
                        kShownWhite = 0xFFFFFF;

struct DisplayCase {
    int screenMode;
    std::uint8_t byte;  // placed in the second cell of character row 1, scan line 3 (y 11)
    int firstColumn;    // the monitor column where that cell starts
    int pixelWidth;
    Palette palette;
    std::vector<std::uint32_t> pixels;  // the byte's pixels, left to right
};

TEST(DisplayScreen, DecodesEachModeAsTheMonitorShowsIt) {
    const std::vector<DisplayCase> cases{
        {0,
         0xAA,
         8,
         1,
         DefaultPalette(0),
         {kShownWhite, kShownBlack, kShownWhite, kShownBlack, kShownWhite, kShownBlack, kShownWhite,
          kShownBlack}},
        {4,
         0x81,
         16,
         2,
         DefaultPalette(4),
         {kShownWhite, kShownBlack, kShownBlack, kShownBlack, kShownBlack, kShownBlack, kShownBlack,
          kShownWhite}},
        {1, 0x6A, 8, 2, DefaultPalette(1), {kShownRed, kShownYellow, kShownWhite, kShownBlack}},
        {5, 0x6A, 16, 4, DefaultPalette(5), {kShownRed, kShownYellow, kShownWhite, kShownBlack}},
        {1, 0x6A, 8, 2, Palette{{0, 4, 6, 7}}, {kShownBlue, kShownCyan, kShownWhite, kShownBlack}},
        {2, 0x27, 8, 4, DefaultPalette(2), {kShownMagenta, kShownYellow}},
        {2, 0xC3, 8, 4, DefaultPalette(2), {kShownRed, kShownRed}},  // flashing 9: its first colour
    };
    for (const DisplayCase& test : cases) {
        SCOPED_TRACE("MODE " + std::to_string(test.screenMode) + " byte " +
                     std::to_string(test.byte));
        const int rowBytes = test.screenMode <= 2 ? 640 : 320;
        std::vector<std::uint8_t> screen(static_cast<std::size_t>(32 * rowBytes), 0);
        screen[rowBytes + 8 + 3] = test.byte;
        const PictureBox shown = DisplayScreen(screen, test.screenMode, test.palette);
        ASSERT_EQ(shown.Width(), 640);
        ASSERT_EQ(shown.Height(), 512);
        for (int line : {22, 23}) {
            for (std::size_t p = 0; p < test.pixels.size(); ++p) {
                for (int dx = 0; dx < test.pixelWidth; ++dx) {
                    const int x = test.firstColumn + static_cast<int>(p) * test.pixelWidth + dx;
                    EXPECT_EQ(shown.Point(x, line), static_cast<std::int32_t>(test.pixels[p]))
                        << "x " << x << " line " << line;
                }
            }
        }
        const std::uint32_t background = test.palette.physical[0] == 0 ? kShownBlack : kShownBlue;
        EXPECT_EQ(shown.Point(test.firstColumn - 1, 22), static_cast<std::int32_t>(background));
        EXPECT_EQ(shown.Point(test.firstColumn, 21), static_cast<std::int32_t>(background));
        EXPECT_EQ(shown.Point(test.firstColumn, 24), static_cast<std::int32_t>(background));
    }
}

TEST(DisplayScreen, RefusesAScreenOfTheWrongLength) {
    EXPECT_THROW(DisplayScreen(std::vector<std::uint8_t>(10240), 2, DefaultPalette(2)),
                 std::invalid_argument);
    EXPECT_THROW(DisplayScreen(std::vector<std::uint8_t>(20480), 3, DefaultPalette(2)),
                 std::invalid_argument);
}

}  // namespace

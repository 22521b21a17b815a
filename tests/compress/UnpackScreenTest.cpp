// The 6502 routine's model against streams worked out by hand from the format's definition: the
// routine reads the file from its last byte down and writes the screen from its last byte down.
#include <gtest/gtest.h>

#include <algorithm>

#include "compress/UnpackScreen.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The file whose bytes the routine reads in this order.
Bytes FileOf(Bytes readOrder) {
    std::reverse(readOrder.begin(), readOrder.end());
    return readOrder;
}

struct Case {
    const char* name;
    Bytes readOrder;
    Bytes screen;
    int slack;
    int literalRuns, repeats, matches;
};

TEST(UnpackScreen, StreamsWorkedByHand) {
    const Case cases[] = {
        {"one literal run", {0x03, 4, 3, 2, 1}, {1, 2, 3, 4}, 0, 1, 0, 0},
        {"a run copied from offset 1", {0x00, 7, 0xC1, 0x00}, {7, 7, 7, 7, 7}, 0, 1, 0, 1},
        // Writing the 8 while the token below it waits to be read needs one byte of room.
        {"two literal runs", {0x00, 8, 0x00, 9}, {9, 8}, 1, 2, 0, 0},
        // Written: 11 22, 11 22 11 22 from 2 back, 33, then 22 33 22 33 from 2 back again.
        {"the last offset again",
         {0x01, 0x11, 0x22, 0xC1, 0x01, 0x00, 0x33, 0x82},
         {0x33, 0x22, 0x33, 0x22, 0x33, 0x22, 0x11, 0x22, 0x11, 0x22, 0x11},
         0,
         2,
         1,
         1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const auto unpacked = UnpackScreen(FileOf(test.readOrder), test.screen.size());
        ASSERT_TRUE(unpacked);
        EXPECT_EQ(unpacked->screen, test.screen);
        EXPECT_EQ(unpacked->slack, test.slack);
        EXPECT_EQ(unpacked->literalRuns, test.literalRuns);
        EXPECT_EQ(unpacked->repeats, test.repeats);
        EXPECT_EQ(unpacked->matches, test.matches);
    }
}

TEST(UnpackScreen, AFarOffsetTakesTwoBytes) {
    Bytes readOrder{0x7F};
    for (int i = 0; i < 128; ++i) readOrder.push_back(static_cast<std::uint8_t>(i + 1));
    readOrder.insert(readOrder.end(), {0x00, 200, 0xC0, 0x80, 0x80});  // 3 bytes from 129 back
    const auto unpacked = UnpackScreen(FileOf(readOrder), 132);
    ASSERT_TRUE(unpacked);
    EXPECT_EQ(unpacked->screen[131], 1);
    EXPECT_EQ(unpacked->screen[3], 200);
    EXPECT_EQ((Bytes{unpacked->screen.begin(), unpacked->screen.begin() + 3}), (Bytes{3, 2, 1}));
}

TEST(UnpackScreen, StreamsTheRoutineWouldGetWrongAreRefused) {
    const struct {
        const char* name;
        Bytes readOrder;
        std::size_t screenBytes;
    } cases[] = {
        {"the last offset before any", {0x80}, 2},
        {"an offset before the first byte written", {0x00, 7, 0xC0, 0x01}, 4},
        {"a match without its offset", {0x00, 7, 0xC0}, 4},
        {"a literal run without its bytes", {0x02, 1, 2}, 3},
        {"a literal run past the screen's start", {0x02, 1, 2, 3}, 2},
        {"a copy past the screen's start", {0x00, 7, 0xC1, 0x00}, 4},
        {"bytes left over", {0x00, 7, 0x00, 8}, 1},
        {"nothing at all", {}, 1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_FALSE(UnpackScreen(FileOf(test.readOrder), test.screenBytes));
    }
}

}  // namespace

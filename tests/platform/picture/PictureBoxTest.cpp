#include <gtest/gtest.h>

#include "platform/picture/PictureBox.h"

namespace {

TEST(PictureBox, PointOutsideTheDrawingAreaIsMinusOne) {
    PictureBox box(3, 2, 0x000102);
    EXPECT_EQ(box.Point(0, 0), 0x000102);
    EXPECT_EQ(box.Point(2, 1), 0x000102);
    for (auto [x, y] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}}) EXPECT_EQ(box.Point(x, y), -1);
    EXPECT_EQ(box.ScaleWidth(), 3.0);
    EXPECT_EQ(box.ScaleHeight(), 2.0);
}

TEST(PictureBox, PSetDrawsInsideAndIgnoresOutside) {
    PictureBox box(4, 4, 0);
    box.PSet(1, 2, 0x00ABCDEF);
    box.PSet(4, 0, 0x111111);
    box.PSet(-1, 3, 0x111111);
    EXPECT_EQ(box.Point(1, 2), 0x00ABCDEF);
    EXPECT_EQ(box.Row(2)[1], 0x00ABCDEFu);
    box.PSet(0, 0, -1);
    EXPECT_EQ(box.Point(0, 0), -1) << "a colour of -1 is kept as it is";
}

TEST(PictureBox, ClsErasesToTheBackColour) {
    PictureBox box(320, 256);
    box.PSet(10, 10, 0xFF);
    const auto before = box.Revision();
    box.Cls();
    EXPECT_EQ(box.Point(10, 10), static_cast<std::int32_t>(PictureBox::kDefaultBackColour));
    EXPECT_GT(box.Revision(), before);
}

TEST(PictureBox, TakesThePicturesSize) {
    PictureBox box(320, 256);
    box.SetPicture(2, 1, {0x10, 0x20});
    EXPECT_EQ(box.Width(), 2);
    EXPECT_EQ(box.Height(), 1);
    EXPECT_EQ(box.Point(1, 0), 0x20);
    EXPECT_EQ(box.Point(0, 1), -1);
    EXPECT_THROW(box.SetPicture(2, 2, {1, 2, 3}), std::invalid_argument);
}

TEST(PictureBox, RefusesASizeItsPixelsDoNotFill) {
    PictureBox box;
    box.SetPicture(2, 1, {0x10, 0x20});
    for (std::size_t count : {std::size_t{0}, std::size_t{3}, std::size_t{5}}) {
        EXPECT_THROW(box.SetPicture(2, 2, NewPixelBuffer(count)), std::invalid_argument);
    }
    EXPECT_THROW(box.SetPicture(1000, 1000, PixelBuffer()), std::invalid_argument);
    EXPECT_EQ(box.Width(), 2);
    EXPECT_EQ(box.Height(), 1);
    EXPECT_EQ(box.Point(1, 0), 0x20);
}

TEST(PictureBox, DecodersLayoutReadsAsColourValues) {
    PictureBox box;
    box.SetPicture(2, 1, {0xFF102030, 0x00ABCDEF}, PictureBox::Layout::Argb32);
    EXPECT_EQ(box.Point(0, 0), 0x302010);
    EXPECT_EQ(box.Point(1, 0), 0xEFCDAB);
    EXPECT_EQ(box.Point(2, 0), -1);
    box.SetPicture(1, 1, {0x00102030});
    EXPECT_EQ(box.Point(0, 0), 0x102030);
}

}  // namespace

#include <gtest/gtest.h>

#include "tests/app/module/ConversionState.h"

namespace {

TEST(BoundedTable, FirstIndexVariesFastest) {
    ResetConversionState();
    Module1::SampleGrid.BluePlane(5, 2) = 77;
    EXPECT_EQ(Module1::SampleGrid.BluePlane.Data()[5 + 321 * 2], 77);
    Module1::PaletteBits(2, 1, 3) = 1;
    EXPECT_EQ(Module1::PaletteBits.Data()[2 + 3 * 1 + 21 * 3], 1);
}

TEST(BoundedTable, DeclaredUpperBoundsAreInclusive) {
    ResetConversionState();
    EXPECT_NO_THROW(Module1::SampleGrid.RedPlane(320, 256));
    EXPECT_NO_THROW(Module1::ThresholdTable(16, 16));
    EXPECT_NO_THROW(Module1::PatternSpiral(4, 4));
    EXPECT_NO_THROW(Module1::PaletteBits(2, 6, 8));
}

TEST(BoundedTable, EveryIndexOutsideTheBoundsIsRefused) {
    EXPECT_THROW(Module1::SampleGrid.BluePlane(321, 0), SubscriptOutOfRange);
    EXPECT_THROW(Module1::SampleGrid.GreenPlane(0, 257), SubscriptOutOfRange);
    EXPECT_THROW(Module1::SampleGrid.RedPlane(-1, 0), SubscriptOutOfRange);
    EXPECT_THROW(Module1::ThresholdTable(17, 0), SubscriptOutOfRange);
    EXPECT_THROW(Module1::ThresholdTable(0, -1), SubscriptOutOfRange);
    EXPECT_THROW(Module1::PatternFine(5, 0), SubscriptOutOfRange);
    EXPECT_THROW(Module1::PaletteBits(3, 0, 0), SubscriptOutOfRange);
    EXPECT_THROW(Module1::PaletteBits(0, 7, 0), SubscriptOutOfRange);
    EXPECT_THROW(Module1::PaletteBits(0, 0, 9), SubscriptOutOfRange);
}

TEST(BoundedTable, TheErrorNamesTheIndexAndTheBounds) {
    try {
        Module1::ThresholdTable(3, 40);
        FAIL() << "no error raised";
    } catch (const SubscriptOutOfRange& error) {
        EXPECT_STREQ(error.what(), "subscript out of range: (3, 40) outside (0..16, 0..16)");
    }
}

}  // namespace

// The routine as the build assembled it is what goes on the discs.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "compress/UnpackRoutine.h"

namespace {

TEST(UnpackRoutine, IsTheAssembledFileAndStartsWithItsTwoEntries) {
    std::ifstream in(QUILLIX_UNPACK_BIN, std::ios::binary);
    ASSERT_TRUE(in) << QUILLIX_UNPACK_BIN;
    const std::vector<std::uint8_t> assembled{std::istreambuf_iterator<char>(in), {}};
    const std::vector<std::uint8_t> routine = UnpackRoutine();
    EXPECT_EQ(routine, assembled);
    // It fits the page at &900 that the loader gives it.
    ASSERT_LE(routine.size(), 256u);
    ASSERT_GE(routine.size(), 6u);
    // JMP absolute to the unpacker and to the blanker, in the page it is loaded at.
    EXPECT_EQ(routine[0], 0x4C);
    EXPECT_EQ(routine[2], kUnpackRoutineAddress >> 8);
    EXPECT_EQ(routine[3], 0x4C);
    EXPECT_EQ(routine[5], kUnpackRoutineAddress >> 8);
    EXPECT_EQ(kUnpackEntry, kUnpackRoutineAddress);
    EXPECT_EQ(kBlankEntry, kUnpackRoutineAddress + 3);
}

}  // namespace

#include "platform/files/ControlEscapes.h"

#include <gtest/gtest.h>

#include "platform/files/FileError.h"

namespace {

TEST(ControlEscapes, ControlCharactersAreEscapedAndTheRestKept) {
    EXPECT_EQ(WithControlsEscaped("a\nb\rc\td"), "a\\nb\\rc\\td");
    EXPECT_EQ(WithControlsEscaped(std::string("\0\x01\x1f\x7f", 4)), "\\x00\\x01\\x1f\\x7f");
    EXPECT_EQ(WithControlsEscaped("C:\\pictures\\caf\xc3\xa9 ~.bmp"),
              "C:\\pictures\\caf\xc3\xa9 ~.bmp");
}

TEST(ControlEscapes, FileErrorIsOneLineAndKeepsThePathAsGiven) {
    const FileError error("two\nlines.bmp", "not a picture");
    EXPECT_STREQ(error.what(), "two\\nlines.bmp: not a picture");
    EXPECT_EQ(error.Path(), "two\nlines.bmp");
}

}  // namespace

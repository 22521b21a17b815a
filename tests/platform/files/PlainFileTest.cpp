#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files/PlainFile.h"
#include "tests/TempFolder.h"

namespace {

TEST(PlainFileExists, OnlyPlainVisibleFilesCount) {
    TempFolder folder;
    WriteFileBytes(folder / "file.bmp", "x");
    WriteFileBytes(folder / ".hidden.bmp", "x");
    std::filesystem::create_directory(folder / "folder");
    std::filesystem::create_symlink(folder / "file.bmp", folder / "link.bmp");
    std::filesystem::create_symlink(folder / "nowhere", folder / "dangling.bmp");
    EXPECT_TRUE(PlainFileExists(folder / "file.bmp"));
    EXPECT_FALSE(PlainFileExists(folder / ".hidden.bmp")) << "hidden files count as missing";
    EXPECT_TRUE(PlainFileExists(folder / "link.bmp"));
    EXPECT_FALSE(PlainFileExists(folder / "folder"));
    EXPECT_FALSE(PlainFileExists(folder / "dangling.bmp"));
    EXPECT_FALSE(PlainFileExists(folder / "missing.bmp"));
    EXPECT_FALSE(PlainFileExists(folder / "file.bmp/below"));
    EXPECT_FALSE(PlainFileExists("/dev/null"));
    EXPECT_FALSE(PlainFileExists(""));
}

}  // namespace

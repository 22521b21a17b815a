#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "platform/DrivePath.h"

namespace {

class DrivePathTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* home = std::getenv("HOME")) savedHome_ = home;
        setenv("HOME", "/home/ann", 1);
        unsetenv("QUILLIX_DRIVE_C");
    }
    void TearDown() override {
        setenv("HOME", savedHome_.c_str(), 1);
        unsetenv("QUILLIX_DRIVE_C");
    }

private:
    std::string savedHome_;
};

TEST_F(DrivePathTest, DriveCIsTheHomeFolderByDefault) {
    const std::array<std::pair<const char*, const char*>, 8> cases{{
        {"c:\\$.screen", "/home/ann/$.screen"},
        {"C:\\$.screen.inf", "/home/ann/$.screen.inf"},
        {"c:/Pictures/a.bmp", "/home/ann/Pictures/a.bmp"},
        {"C:\\Program Files\\Tools\\MSINFO32.EXE", "/home/ann/Program Files/Tools/MSINFO32.EXE"},
        {"\\MSINFO32.EXE", "/home/ann/MSINFO32.EXE"},
        {"/tmp/a\\b.screen", "/tmp/a\\b.screen"},
        {"relative\\name", "relative\\name"},
        {"d:\\other", "d:\\other"},
    }};
    for (const auto& [windows, local] : cases) EXPECT_EQ(ToLocalPath(windows), local) << windows;
}

TEST_F(DrivePathTest, EnvironmentVariableNamesTheDrive) {
    setenv("QUILLIX_DRIVE_C", "/srv/bbc/", 1);
    EXPECT_EQ(ToLocalPath("c:\\$.screen"), "/srv/bbc/$.screen");
    setenv("QUILLIX_DRIVE_C", "", 1);
    EXPECT_EQ(ToLocalPath("c:\\$.screen"), "/home/ann/$.screen");
    setenv("QUILLIX_DRIVE_C", "/", 1);
    EXPECT_EQ(ToLocalPath("c:\\$.screen"), "/$.screen");
}

}  // namespace

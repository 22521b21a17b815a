#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "platform/files/DrivePath.h"
#include "tests/ScopedEnvironmentVariable.h"

namespace {

class DrivePathTest : public ::testing::Test {
protected:
    ScopedEnvironmentVariable home_{"HOME", "/home/ann"};
    ScopedEnvironmentVariable driveC_{"QUILLIX_DRIVE_C", ""};
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
    const std::array<std::pair<const char*, const char*>, 3> cases{{
        {"/srv/bbc/", "/srv/bbc/$.screen"},
        {"", "/home/ann/$.screen"},
        {"/", "/$.screen"},
    }};
    for (const auto& [drive, local] : cases) {
        ScopedEnvironmentVariable driveC("QUILLIX_DRIVE_C", drive);
        EXPECT_EQ(ToLocalPath("c:\\$.screen"), local) << drive;
    }
}

}  // namespace

// The launcher with the real registry overlay, file look-up and program start: a tiny script
// stands in for the system information tool and leaves a marker file when it really runs.
#include <gtest/gtest.h>

#include <QThread>
#include <filesystem>

#include "about/SysInfoLauncher.h"
#include "platform/desktop/ProgramStarter.h"
#include "platform/files/FileLookup.h"
#include "platform/registry/LinuxRegistry.h"
#include "tests/ScopedEnvironmentVariable.h"
#include "tests/TempFolder.h"
#include "tests/about/AboutFakes.h"

namespace {

void WriteMarkerScript(const std::string& script, const std::string& marker) {
    WriteFileBytes(script, "#!/bin/sh\necho ran > '" + marker + ".part' && mv '" + marker +
                               ".part' '" + marker + "'\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

// The started script runs on its own; give it a generous while to leave its marker.
bool WaitForFile(const std::string& path) {
    for (int i = 0; i < 1000; ++i) {
        if (std::filesystem::exists(path)) return true;
        QThread::msleep(10);
    }
    return false;
}

struct EndToEndCase {
    const char* name;
    const char* overlay;  // a "%" stands for the temporary folder
    const char* script;   // where the tool is, under the temporary folder
};

class SysInfoEndToEndTest : public testing::TestWithParam<EndToEndCase> {};

TEST_P(SysInfoEndToEndTest, StartsTheToolNamedInTheOverlay) {
    TempFolder folder;
    ScopedEnvironmentVariable drive("QUILLIX_DRIVE_C", folder.Path().string());
    std::filesystem::create_directories(folder / "tools");
    const std::string marker = folder / "marker";
    WriteMarkerScript(folder / GetParam().script, marker);
    std::string overlay = GetParam().overlay;
    if (const auto at = overlay.find('%'); at != std::string::npos) {
        overlay.replace(at, 1, folder.Path().string());
    }
    WriteFileBytes(folder / "registry.txt", overlay);

    LinuxRegistry registry(folder / "registry.txt", "");
    LocalFileLookup files;
    DetachedProgramStarter programs;
    FakeMessageBox messages;
    SysInfoLauncher(registry, files, programs, messages).StartSysInfo();

    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(WaitForFile(marker));
    EXPECT_EQ(ReadFileBytes(marker), "ran\n");
}

INSTANTIATE_TEST_SUITE_P(
    Overlay, SysInfoEndToEndTest,
    testing::Values(
        EndToEndCase{"FullPath",
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                     "PATH = %/tools/system info.sh\n",
                     "tools/system info.sh"},
        EndToEndCase{"FolderOnDriveC",
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"
                     "MSINFO = c:\\tools\n",
                     "tools/MSINFO32.EXE"},
        EndToEndCase{"LocalFolder",
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\n"
                     "MSINFO = %/tools\n",
                     "tools/MSINFO32.EXE"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>

#include "app/WriteImage.h"
#include "platform/files/FileError.h"
#include "tests/ScopedEnvironmentVariable.h"
#include "tests/TempFolder.h"
#include "tests/app/module/ScreenTestSupport.h"

namespace {

class WriteImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetConversionState();
        Module1::InitTables();
        Module1::BuildThresholdTable();
    }
    void Write(const std::string& path, int mode) {
        ConversionSettings.ScreenMode = static_cast<std::int16_t>(mode);
        WriteImage(preview, path, 255);
    }
    void ExpectUnchanged(const std::string& screen) {
        EXPECT_EQ(ReadFileBytes(screen), "old screen");
        EXPECT_EQ(ReadFileBytes(screen + ".inf"), "old sidecar");
    }
    PictureBox preview{320, 256};
    TempFolder folder;
};

TEST_F(WriteImageTest, ConvertBeforeAnyPictureWritesZeroScreenAndSidecar) {
    const std::string screen = folder / "$.screen";
    Write(screen, 2);
    EXPECT_EQ(ReadFileBytes(screen), std::string(20480, '\0'));
    EXPECT_EQ(ReadFileBytes(screen + ".inf"), "$.SCREEN   003000 000000 005000\r\n");
}

TEST_F(WriteImageTest, SidecarLineOfEveryMode) {
    const std::string screen = folder / "$.screen";
    for (int mode : {0, 1, 2, 4, 5}) {
        Write(screen, mode);
        const bool tenK = mode >= 4;
        EXPECT_EQ(ReadFileBytes(screen).size(), tenK ? 10240u : 20480u) << "mode " << mode;
        const std::string sidecar = ReadFileBytes(screen + ".inf");
        EXPECT_EQ(sidecar.size(), 33u);
        EXPECT_EQ(sidecar, tenK ? "$.SCREEN   005800 000000 002800\r\n"
                                : "$.SCREEN   003000 000000 005000\r\n");
    }
}

TEST_F(WriteImageTest, ShorterImageLeavesNoStaleTail) {
    const std::string screen = folder / "$.screen";
    WriteFileBytes(screen + ".inf", std::string(500, 'x'));
    for (int x = 0; x < 320; ++x) SetSample(x, 0, 255, 255, 255);
    Write(screen, 0);
    Write(screen, 5);
    const std::string bytes = ReadFileBytes(screen);
    ASSERT_EQ(bytes.size(), 10240u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(ReadFileBytes(screen + ".inf"), "$.SCREEN   005800 000000 002800\r\n");
}

TEST_F(WriteImageTest, MaxValChangesNothing) {
    for (int x = 0; x < 320; ++x) SetSample(x, 3, x % 256, 200, 90);
    ConversionSettings.ToneStyle = 2;
    Module1::BuildThresholdTable();
    const std::string a = folder / "a";
    const std::string b = folder / "b";
    WriteImage(preview, a, 255);
    PictureBox other(320, 256);
    WriteImage(other, b, -7);
    EXPECT_EQ(ReadFileBytes(a), ReadFileBytes(b));
    for (int x = 0; x < 320; ++x) ASSERT_EQ(preview.Point(x, 3), other.Point(x, 3));
}

TEST_F(WriteImageTest, DriveCIsTheConfiguredFolder) {
    {
        ScopedEnvironmentVariable driveC("QUILLIX_DRIVE_C", folder.Path().string());
        Write("c:\\$.screen", 4);
    }
    EXPECT_EQ(ReadFileBytes(folder / "$.screen").size(), 10240u);
    EXPECT_EQ(ReadFileBytes(folder / "$.screen.inf"), "$.SCREEN   005800 000000 002800\r\n");
}

TEST_F(WriteImageTest, NewFilesGetTheUsualPermissions) {
    const std::string screen = folder / "$.screen";
    const mode_t old = umask(022);
    Write(screen, 2);
    umask(old);
    EXPECT_EQ(std::filesystem::status(screen).permissions(), std::filesystem::perms(0644));
}

TEST_F(WriteImageTest, LinkedScreenFileIsWrittenThroughTheLink) {
    std::filesystem::create_directory(folder / "disc");
    std::filesystem::create_symlink(folder / "disc/SCREEN", folder / "$.screen");
    WriteFileBytes(folder / "disc/SCREEN", "old");
    Write(folder / "$.screen", 4);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "$.screen"));
    EXPECT_EQ(ReadFileBytes(folder / "disc/SCREEN").size(), 10240u);
}

TEST_F(WriteImageTest, MissingFolderNamesTheFileAndLeavesNoPreviewDrawn) {
    const std::string screen = folder / "no-such-folder/$.screen";
    preview.PSet(5, 5, 0x123456);
    try {
        Write(screen, 2);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), screen);
        EXPECT_EQ(std::string(error.what()), screen + ": No such file or directory");
    }
    // Cleared, and nothing encoded after the screen file could not be created.
    EXPECT_EQ(preview.Point(5, 5), static_cast<std::int32_t>(preview.BackColour()));
    EXPECT_EQ(preview.Point(0, 0), static_cast<std::int32_t>(preview.BackColour()));
}

TEST_F(WriteImageTest, FolderThatIsAFileFails) {
    WriteFileBytes(folder / "plain", "x");
    EXPECT_THROW(Write(folder / "plain/$.screen", 2), FileError);
}

TEST_F(WriteImageTest, ScreenPathThatIsAFolderFailsAndKeepsSidecar) {
    std::filesystem::create_directory(folder / "$.screen");
    WriteFileBytes(folder / "$.screen.inf", "old sidecar");
    try {
        Write(folder / "$.screen", 2);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("Is a directory"), std::string::npos);
    }
    EXPECT_EQ(ReadFileBytes(folder / "$.screen.inf"), "old sidecar");
}

TEST_F(WriteImageTest, ReadOnlyFolderKeepsTheOldFiles) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes to read-only folders anyway";
    const std::string screen = folder / "$.screen";
    WriteFileBytes(screen, "old screen");
    WriteFileBytes(screen + ".inf", "old sidecar");
    std::filesystem::permissions(folder.Path(), std::filesystem::perms(0555));
    EXPECT_THROW(Write(screen, 2), FileError);
    ExpectUnchanged(screen);
}

// A disk that fills up part-way: the file size limit stops writes after a few bytes, as a full
// disk would. Root is not exempt from it.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST_F(WriteImageTest, FullDiskDuringTheScreenKeepsTheOldFiles) {
    const std::string screen = folder / "$.screen";
    WriteFileBytes(screen, "old screen");
    WriteFileBytes(screen + ".inf", "old sidecar");
    try {
        FileSizeLimit limit(4096);
        Write(screen, 2);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), screen);
        EXPECT_EQ(error.Reason(), "File too large");
    }
    ExpectUnchanged(screen);
    EXPECT_EQ(folder.Names().size(), 2u) << "temporary files are removed";
}

// A really full disk: a 16 KiB memory file system, mounted in a private mount namespace of a child
// process (so nothing outside the test sees it), cannot hold a 20 KiB screen. Needs root.
TEST_F(WriteImageTest, TinyFileSystemReportsNoSpaceAndKeepsTheOldFiles) {
    enum : int { kPassed = 0, kUnchanged = 1, kWrongError = 2, kNoError = 3, kCannotMount = 77 };
    const std::string mountPoint = folder / "tiny";
    std::filesystem::create_directory(mountPoint);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=16k") != 0) {
            _exit(kCannotMount);
        }
        const std::string screen = mountPoint + "/$.screen";
        WriteFileBytes(screen, "old screen");
        WriteFileBytes(screen + ".inf", "old sidecar");
        int result = kNoError;
        try {
            Write(screen, 2);
        } catch (const FileError& error) {
            result = error.Reason() == "No space left on device" ? kPassed : kWrongError;
        }
        if (result == kPassed && (ReadFileBytes(screen) != "old screen" ||
                                  ReadFileBytes(screen + ".inf") != "old sidecar" ||
                                  std::distance(std::filesystem::directory_iterator(mountPoint),
                                                std::filesystem::directory_iterator()) != 2)) {
            result = kUnchanged;
        }
        _exit(result);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotMount) GTEST_SKIP() << "cannot mount a file system here";
    EXPECT_EQ(WEXITSTATUS(status), kPassed)
        << "1: old files changed or temporary left, 2: another error, 3: no error";
}

TEST_F(WriteImageTest, FailingSidecarKeepsTheOldScreenToo) {
    const std::string screen = folder / "$.screen";
    WriteFileBytes(screen, "old screen");
    std::filesystem::create_directory(screen + ".inf");
    try {
        Write(screen, 5);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), screen + ".inf");
    }
    EXPECT_EQ(ReadFileBytes(screen), "old screen");
    EXPECT_EQ(folder.Names().size(), 2u) << "temporary files are removed";
}

TEST_F(WriteImageTest, DeviceIsNeverReplaced) {
    EXPECT_THROW(Write("/dev/null", 2), FileError);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

}  // namespace

// The atomic writer's promise under failing system calls, read-only files and long names.
#include "platform/files/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "tests/TempFolder.h"

namespace {

namespace fs = std::filesystem;

ssize_t FullDiskWrite(int, const void*, std::size_t) {
    errno = ENOSPC;
    return -1;
}
ssize_t OneByteWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size > 0 ? 1 : 0);
}
int FailingFsync(int) {
    errno = EIO;
    return -1;
}
int UnflushableFsync(int) {
    errno = EINVAL;
    return -1;
}
int FailingRename(const char*, const char*) {
    errno = EXDEV;
    return -1;
}

AtomicFileCalls With(ssize_t (*write)(int, const void*, std::size_t)) {
    AtomicFileCalls calls;
    calls.write = write;
    return calls;
}
AtomicFileCalls WithFsync(int (*fsync)(int)) {
    AtomicFileCalls calls;
    calls.fsync = fsync;
    return calls;
}
AtomicFileCalls WithRename(int (*rename)(const char*, const char*)) {
    AtomicFileCalls calls;
    calls.rename = rename;
    return calls;
}

mode_t ModeOf(const std::string& path) {
    struct stat file {};
    return stat(path.c_str(), &file) == 0 ? file.st_mode & 07777 : 0;
}

// Writes "new content" over target; returns the failure's reason, or "" on success.
std::string Replace(const std::string& target, const AtomicFileCalls& calls = {}) {
    try {
        AtomicFile file(target, calls);
        file.Write("new content");
        file.Commit();
    } catch (const FileError& error) {
        EXPECT_EQ(error.Path(), target);
        return error.Reason();
    }
    return "";
}

TEST(AtomicFile, FailingSystemCallsKeepTheOldFileAndLeaveNoTemporary) {
    struct Case {
        const char* name;
        AtomicFileCalls calls;
        std::string reason;  // "" when the new content is to be in place
    };
    const Case cases[] = {
        {"WriteFails", With(FullDiskWrite), "No space left on device"},
        {"FsyncFails", WithFsync(FailingFsync), "Input/output error"},
        {"RenameFails", WithRename(FailingRename), "Invalid cross-device link"},
        {"FsyncUnsupportedIsNoFailure", WithFsync(UnflushableFsync), ""},
        {"ShortWritesAreContinued", With(OneByteWrite), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string target = folder / "$.screen";
        WriteFileBytes(target, "old");
        EXPECT_EQ(Replace(target, c.calls), c.reason);
        EXPECT_EQ(ReadFileBytes(target), c.reason.empty() ? "new content" : "old");
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"$.screen"});
    }
}

TEST(AtomicFile, ReplacedFileKeepsItsPermissionBits) {
    for (const mode_t mode : {0600, 0640, 0755}) {
        SCOPED_TRACE(mode);
        TempFolder folder;
        const std::string target = folder / "$.screen";
        WriteFileBytes(target, "old");
        chmod(target.c_str(), mode);
        EXPECT_EQ(Replace(target), "");
        EXPECT_EQ(ModeOf(target), mode);
    }
}

// The rule goes by the permission bits, so it holds for root too, whom the system would let write.
TEST(AtomicFile, RefusesToReplaceAFileTheUserMayNotWrite) {
    for (const mode_t mode : {0444, 0400, 0555}) {
        SCOPED_TRACE(mode);
        TempFolder folder;
        const std::string target = folder / "$.screen";
        WriteFileBytes(target, "old");
        chmod(target.c_str(), mode);
        fs::create_symlink(target, folder / "link");
        for (const std::string& name : {target, folder / "link"}) {
            EXPECT_EQ(Replace(name), "Permission denied");
        }
        EXPECT_EQ(ReadFileBytes(target), "old");
        EXPECT_EQ(ModeOf(target), mode);
        EXPECT_EQ(folder.Names().size(), 2u) << "temporary files are removed";
    }
}

TEST(AtomicFile, NameAsLongAsTheFileSystemAllows) {
    TempFolder folder;
    const std::string target = folder / std::string(255, 'n');
    EXPECT_EQ(Replace(target), "");
    EXPECT_EQ(Replace(target), "");
    EXPECT_EQ(ReadFileBytes(target), "new content");
    EXPECT_EQ(folder.Names().size(), 1u);
}

}  // namespace

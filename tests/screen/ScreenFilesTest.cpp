// Two processes writing one screen file at once: the screen file and its sidecar always come from
// the same one.
#include "screen/ScreenFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/TempFolder.h"

namespace {

int paused[2];   // the first writer says that its screen file is in place
int resumed[2];  // and goes on when told

int RenameThenPause(const char* from, const char* to) {
    const int renamed = std::rename(from, to);
    char go = 0;
    const bool screen = std::string(to).ends_with(".screen");
    if (screen && (write(paused[1], &go, 1) != 1 || read(resumed[0], &go, 1) != 1)) return -1;
    return renamed;
}

pid_t WriteInChild(const std::string& path, ScreenMode mode, const AtomicFileCalls& calls) {
    const pid_t child = fork();
    if (child != 0) return child;
    ScreenFiles(path, calls)
        .Write({mode, std::vector<std::uint8_t>(GeometryOf(mode).screenBytes), {}, {}});
    _exit(0);
}

// Whether /proc/locks shows the process waiting for a lock: "1: -> FLOCK  ADVISORY  WRITE PID ...".
bool WaitsForALock(pid_t pid) {
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, arrow, kind, advisory, access;
        pid_t owner = 0;
        if (fields >> number >> arrow >> kind >> advisory >> access >> owner && arrow == "->" &&
            owner == pid)
            return true;
    }
    return false;
}

TEST(ScreenFiles, ASecondWriterWaitsUntilTheFirstHasPutBothFilesInPlace) {
    TempFolder folder;
    const std::string path = folder / "$.screen";
    ASSERT_EQ(pipe(paused) | pipe(resumed), 0);
    AtomicFileCalls pausing;
    pausing.rename = RenameThenPause;
    const pid_t first = WriteInChild(path, ScreenMode::Mode2, pausing);
    char byte = 0;
    ASSERT_EQ(read(paused[0], &byte, 1), 1);

    // The first is between its two renames: the second runs to its end, or to a lock.
    const pid_t second = WriteInChild(path, ScreenMode::Mode4, {});
    for (int tries = 0; tries < 3000 && waitpid(second, nullptr, WNOHANG) == 0; ++tries) {
        if (WaitsForALock(second)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(write(resumed[1], &byte, 1), 1);
    waitpid(first, nullptr, 0);
    waitpid(second, nullptr, 0);
    EXPECT_EQ(ReadFileBytes(path).size(), 10240u) << "the second writer's screen";
    EXPECT_EQ(ReadFileBytes(path + ".inf"), SidecarText(4)) << "and its sidecar";
    for (const int fd : {paused[0], paused[1], resumed[0], resumed[1]}) close(fd);
}

}  // namespace

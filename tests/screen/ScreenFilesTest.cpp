// Two processes writing the same screen file at once: the screen file and its sidecar always come
// from the same one.
#include "screen/ScreenFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/TempFolder.h"

namespace {

// The first writer's pipes: it says when its screen file is in place, then waits to go on.
int paused = -1;
int resumed = -1;

int RenameThenPause(const char* from, const char* to) {
    const int renamed = std::rename(from, to);
    if (std::string(to).ends_with(".screen")) {
        char go = 0;
        if (write(paused, &go, 1) != 1 || read(resumed, &go, 1) != 1) return -1;
    }
    return renamed;
}

pid_t WriteInChild(const std::string& path, ScreenMode mode, const AtomicFileCalls& calls) {
    const pid_t child = fork();
    if (child != 0) return child;
    const EncodedScreen screen{
        mode, std::vector<std::uint8_t>(GeometryOf(mode).screenBytes), {}, {}};
    try {
        ScreenFiles(path, calls).Write(screen);
    } catch (...) {
        _exit(1);
    }
    _exit(0);
}

// Whether the process has ended (and is reaped) or waits for a lock (/proc/locks marks waiters
// with "->").
bool EndedOrWaiting(pid_t pid, int& status) {
    if (waitpid(pid, &status, WNOHANG) == pid) return true;
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
    int pausedPipe[2];
    int resumedPipe[2];
    ASSERT_EQ(pipe(pausedPipe), 0);
    ASSERT_EQ(pipe(resumedPipe), 0);
    paused = pausedPipe[1];
    resumed = resumedPipe[0];
    AtomicFileCalls pausing;
    pausing.rename = RenameThenPause;
    const pid_t first = WriteInChild(path, ScreenMode::Mode2, pausing);
    char byte = 0;
    ASSERT_EQ(read(pausedPipe[0], &byte, 1), 1);

    // The first is between its two renames; the second comes now, in full or up to a lock.
    const pid_t second = WriteInChild(path, ScreenMode::Mode4, {});
    int secondStatus = -1;
    for (int tries = 0; tries < 3000 && !EndedOrWaiting(second, secondStatus); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(write(resumedPipe[1], &byte, 1), 1);
    int firstStatus = -1;
    waitpid(first, &firstStatus, 0);
    if (secondStatus == -1) waitpid(second, &secondStatus, 0);
    EXPECT_EQ(firstStatus, 0);
    EXPECT_EQ(secondStatus, 0);

    EXPECT_EQ(ReadFileBytes(path).size(), 10240u) << "the second writer's screen";
    EXPECT_EQ(ReadFileBytes(path + ".inf"), SidecarText(4)) << "and its sidecar";
    for (int fd : {pausedPipe[0], pausedPipe[1], resumedPipe[0], resumedPipe[1]}) close(fd);
}

}  // namespace

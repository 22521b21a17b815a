// The signals that concern written files, met in child processes that start with them at their
// default actions (as a shell starts a program), whatever this test process does with them.
#include "platform/process/FileSignals.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <cstring>
#include <functional>

#include "platform/files/AtomicFile.h"
#include "tests/TempFolder.h"

namespace {

constexpr int kFileTooLarge = 10;

// Runs body in a child process, its signals at their defaults, and returns the wait status. body
// may tell the parent it is ready by writing to ready.
int InChild(const std::function<int(int ready)>& body, const std::function<void(pid_t)>& meet) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        for (const int signal : {SIGXFSZ, SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SIG_DFL);
        _exit(body(ready[1]));
    }
    close(ready[1]);
    char byte = 0;
    if (read(ready[0], &byte, 1) == 1) meet(child);
    close(ready[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST(FileSignals, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProcess) {
    for (const bool guarded : {false, true}) {
        SCOPED_TRACE(guarded ? "guarded" : "unguarded");
        TempFolder folder;
        const auto writeScreen = [&](int) {
            if (guarded) GuardFilesAgainstSignals();
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 4096;
            setrlimit(RLIMIT_FSIZE, &limit);
            try {
                AtomicFile file(folder / "$.screen");
                file.Write(std::string(20480, 's'));
                file.Commit();
            } catch (const FileError& error) {
                if (error.Reason() == "File too large") return kFileTooLarge;
            }
            return 0;
        };
        const int status = InChild(writeScreen, [](pid_t) {});
        if (guarded) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kFileTooLarge) << status;
            EXPECT_TRUE(folder.Names().empty()) << "no temporary file is left behind";
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
        }
    }
}

TEST(FileSignals, EndingSignalsRemoveOpenTemporaryFilesThenEndAsTheSignalDoes) {
    struct Case {
        int signal;
        bool ignoredAtStart;  // as nohup starts a program
    };
    for (const Case c : {Case{SIGINT, false}, {SIGTERM, false}, {SIGHUP, false}, {SIGHUP, true}}) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + (c.ignoredAtStart ? ", ignored" : ""));
        TempFolder folder;
        const auto writeAndWait = [&](int ready) {
            if (c.ignoredAtStart) std::signal(c.signal, SIG_IGN);
            GuardFilesAgainstSignals();
            AtomicFile screen(folder / "$.screen");
            AtomicFile sidecar(folder / "$.screen.inf");
            screen.Write("part of it");
            if (write(ready, "!", 1) != 1) return 1;
            for (;;) pause();
        };
        // An ignored signal changes nothing: the SIGTERM after it ends the child.
        const int status = InChild(writeAndWait, [&](pid_t child) {
            kill(child, c.signal);
            if (c.ignoredAtStart) kill(child, SIGTERM);
        });
        const int ending = c.ignoredAtStart ? SIGTERM : c.signal;
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == ending) << status;
        EXPECT_TRUE(folder.Names().empty()) << "the temporary files are removed";
    }
}

}  // namespace

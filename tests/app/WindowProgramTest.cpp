// The window program, started as a desktop starts it, meets the signals that concern its files:
// SIGXFSZ ignored (a write beyond the file size limit is reported, not fatal), SIGINT, SIGTERM and
// SIGHUP caught (its temporary files removed, then it ends as they end it).
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "tests/cli/RunProgram.h"

namespace {

TEST(WindowProgram, IgnoresTheFileSizeSignalAndCatchesTheEndingOnes) {
    TempFolder home;
    const pid_t window =
        StartProgram(QUILLIX_WINDOW, {}, {{"HOME", home / "."}, {"QT_QPA_PLATFORM", "offscreen"}});
    ASSERT_GT(window, 0);
    // /proc/PID/status has "SigIgn:\tHEX" and "SigCgt:\tHEX", bit N-1 for signal N.
    const auto mask = [&](const std::string& field) {
        std::ifstream status("/proc/" + std::to_string(window) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with(field)) return std::stoull(line.substr(field.size()), nullptr, 16);
        return 0ull;
    };
    const auto bit = [](int signal) { return 1ull << (signal - 1); };
    const unsigned long long ending = bit(SIGINT) | bit(SIGTERM) | bit(SIGHUP);
    bool set = false;
    for (int tries = 0; tries < 3000 && !set; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        set = (mask("SigIgn:") & bit(SIGXFSZ)) != 0 && (mask("SigCgt:") & ending) == ending;
    }
    kill(window, SIGTERM);
    EXPECT_TRUE(set);
    const int status = WaitForProgram(window);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}

}  // namespace

// The window program itself, started as a desktop starts it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <thread>

#include "tests/cli/RunProgram.h"

namespace {

std::uint64_t Bit(int signal) {
    return std::uint64_t{1} << (signal - 1);
}

// A signal mask line of /proc/PID/status ("SigIgn:\t0000000001001000"): bit N-1 is signal N.
std::uint64_t SignalMask(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(field + ":"))
            return std::stoull(line.substr(field.size() + 1), nullptr, 16);
    return 0;
}

// A write beyond the file size limit is reported, not fatal; an ending signal removes the
// temporary files first and still ends the window as it would have.
TEST(WindowProgram, MeetsTheSignalsThatConcernItsFiles) {
    TempFolder home;
    const pid_t window = StartProgram(
        QUILLIX_WINDOW, {},
        {{"HOME", home / "."}, {"QUILLIX_DRIVE_C", home / "."}, {"QT_QPA_PLATFORM", "offscreen"}});
    ASSERT_GT(window, 0);
    const std::uint64_t ending = Bit(SIGINT) | Bit(SIGTERM) | Bit(SIGHUP);
    bool set = false;
    for (int tries = 0; tries < 3000 && !set; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        set = (SignalMask(window, "SigIgn") & Bit(SIGXFSZ)) != 0 &&
              (SignalMask(window, "SigCgt") & ending) == ending;
    }
    kill(window, SIGTERM);
    const int status = WaitForProgram(window);
    EXPECT_TRUE(set) << "SIGXFSZ ignored, SIGINT, SIGTERM and SIGHUP caught";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}

}  // namespace

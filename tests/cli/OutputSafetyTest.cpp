// Hostile surroundings of quillix-convert's outputs: a file size limit, signals in the middle of a
// batch, and links to files not yet made; checked by running the built program.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>

#include <filesystem>

#include "tests/TempFolder.h"
#include "tests/cli/RunProgram.h"

namespace {

namespace fs = std::filesystem;

const std::string kTestCard = std::string(QUILLIX_SAMPLES_DIR) + "/testcard.bmp";

class OutputSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(out);
        fs::copy_file(kTestCard, a);
        fs::copy_file(kTestCard, b);
    }
    TempFolder folder;
    const std::map<std::string, std::string> env{{"QUILLIX_DRIVE_C", folder / "."}};
    const std::string out = folder / "out";
    const std::string a = folder / "a.bmp";
    const std::string b = folder / "b.bmp";
};

TEST_F(OutputSafetyTest, AFileSizeLimitFailsEachPictureAndTheBatchGoesOn) {
    // 16 blocks (8 or 16 KiB, as the shell counts them) hold a preview but no 20 KiB screen.
    const ProgramResult r = RunProgram(
        "/bin/sh", {"-c", "ulimit -f 16 && exec \"$0\" \"$@\"", QUILLIX_CONVERT, "-d", out, a, b},
        env);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quillix-convert: " + out + "/a.screen: File too large\nquillix-convert: " +
                         out + "/b.screen: File too large\n");
    EXPECT_TRUE(fs::is_empty(out)) << "no temporary file is left behind";
}

TEST_F(OutputSafetyTest, ASignalDuringABatchRemovesTheOpenTemporaryFiles) {
    std::vector<std::string> args{"-q", "-d", out, "--preview"};
    for (int i = 0; i < 200; ++i) {
        args.push_back(folder / (std::to_string(i) + ".bmp"));
        fs::create_hard_link(a, args.back());
    }
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        const int watch = inotify_init1(IN_CLOEXEC);
        inotify_add_watch(watch, out.c_str(), IN_CREATE);
        const pid_t converter = StartProgram(QUILLIX_CONVERT, args, env);
        ASSERT_GT(converter, 0);
        // Signalled as the first temporary file is made: it is open then, and for a while yet.
        pollfd made{watch, POLLIN, 0};
        EXPECT_EQ(poll(&made, 1, 60'000), 1) << "nothing made within a minute";
        kill(converter, signal);
        const int status = WaitForProgram(converter);
        close(watch);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        for (const auto& entry : fs::directory_iterator(out))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".quillix-")) << entry;
    }
}

TEST_F(OutputSafetyTest, LinksAreFollowedToFilesNotYetMade) {
    // b's screen file links to a's, which is not made yet: b must not replace a's files.
    fs::create_symlink("a.screen", out + "/b.screen");
    ProgramResult r = RunProgram(QUILLIX_CONVERT, {"-q", "-d", out, a, b}, env);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quillix-convert: " + b + ": would replace the output of " + a + " (" + out +
                         "/b.screen); not converted\n");

    // -o and --disc write through such a link: the file it names is made and the link stays.
    fs::create_symlink("made.screen", folder / "to.screen");
    fs::create_symlink("made.ssd", folder / "to.ssd");
    r = RunProgram(QUILLIX_CONVERT, {"-o", folder / "to.screen", "--disc", folder / "to.ssd", a},
                   env);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(folder / "to.screen") && fs::is_symlink(folder / "to.ssd"));
    EXPECT_EQ(fs::file_size(folder / "made.screen"), 20480u);
    EXPECT_EQ(fs::file_size(folder / "made.ssd"), 204800u);

    // A loop of links is no file at all.
    fs::create_symlink("self", folder / "self");
    fs::create_symlink("loop2", folder / "loop1");
    fs::create_symlink("loop1", folder / "loop2");
    for (const std::string& link : {folder / "self", folder / "loop1"}) {
        r = RunProgram(QUILLIX_CONVERT, {"-o", link, a}, env);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "quillix-convert: " + link + ": Too many levels of symbolic links\n");
        EXPECT_TRUE(fs::is_symlink(link));
    }
}

}  // namespace

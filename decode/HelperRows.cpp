#include "decode/HelperRows.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <vector>

#include "decode/HelperProtocol.h"
#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/process/UnderSanitizer.h"

extern char** environ;

namespace {

// However slow the machine, a helper that has sent nothing for this long is stuck (on a file
// system that does not answer, say) rather than decoding.
constexpr auto kWallLimit = std::chrono::seconds(kHelperMostSeconds * 6);

// The helper beside an installed program (PREFIX/libexec/quillix/), or the one of the build tree
// this was built in.
std::string HelperPath() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path installed =
            program.parent_path() / ".." / "libexec" / "quillix" / kHelperProgram;
        if (std::filesystem::exists(installed, error)) return installed.string();
    }
#ifdef QUILLIX_PICTURE_HELPER_BUILD
    return QUILLIX_PICTURE_HELPER_BUILD;
#else
    return kHelperProgram;
#endif
}

// A descriptor closed however the scope ends.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    void Reset(int fd = -1) {
        if (fd_ >= 0) close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

class HelperRows : public RowSource {
public:
    explicit HelperRows(const std::string& path)
        : path_(path), deadline_(std::chrono::steady_clock::now() + kWallLimit) {}

    ~HelperRows() override {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
    }
    HelperRows(const HelperRows&) = delete;
    HelperRows& operator=(const HelperRows&) = delete;

    void Start() {
        Spawn();
        HelperAnswer answer;
        if (!ReadAll(&answer, sizeof answer) || std::memcmp(answer.magic, "QXH1", 4) != 0) Fail();
        switch (answer.outcome) {
            case HelperOutcome::kPicture:
                break;
            case HelperOutcome::kNotAPicture:
                throw FileError(path_, kNotAPicture);
            case HelperOutcome::kTruncated:
                throw FileError(path_, kTruncatedPicture);
            case HelperOutcome::kTooLarge:
                throw FileError(path_, TooLargeReason(answer.width, answer.height));
            case HelperOutcome::kNoMemory:
                throw FileError(path_, NoMemoryReason(answer.width, answer.height));
            default:
                throw FileError(path_, kDamagedPicture);
        }
        if (answer.width <= 0 || answer.height <= 0 || TooLarge(answer.width, answer.height)) {
            throw FileError(path_, kDamagedPicture);
        }
        picture_ = {answer.width, answer.height, answer.orientation};
    }

    const StoredPicture& Picture() const override { return picture_; }

    void Feed(RowConsumer& consumer) override {
        const std::vector<int>& needed = consumer.NeededRows();
        std::vector<std::uint32_t> row(static_cast<std::size_t>(picture_.width));
        auto next = needed.begin();
        for (int y = 0; y < picture_.height; ++y) {
            if (!ReadAll(row.data(), row.size() * sizeof row[0])) Fail();
            if (next != needed.end() && *next == y) {
                consumer.TakeRow(y, row.data());
                ++next;
            }
        }
        if (!Finished()) Fail();
    }

private:
    void Spawn() {
        const int opened = open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (opened < 0) throw FileError(path_, std::strerror(errno));
        // Well above the descriptors the helper's own set up takes.
        Descriptor picture(fcntl(opened, F_DUPFD_CLOEXEC, 10));
        close(opened);
        int ends[2];
        if (picture.Get() < 0 || pipe2(ends, O_CLOEXEC) != 0) {
            throw FileError(path_, std::strerror(errno));
        }
        answers_.Reset(ends[0]);
        Descriptor sending(ends[1]);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, sending.Get(), 1);
        // Qt's readers say what they think of a file on standard error; the program says it once
        // itself. A sanitizer's report from inside one must show all the same.
        if (!UnderSanitizer())
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, picture.Get(), kHelperPictureFd);
        const std::string program = HelperPath();
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        const int failed = posix_spawn(&child_, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) {
            child_ = -1;
            throw FileError(path_, "cannot be read: the picture helper " + program +
                                       " does not start (" + std::strerror(failed) + ")");
        }
    }

    // Reads count bytes, waiting at most until the deadline; false when the helper stopped first.
    bool ReadAll(void* data, std::size_t count) {
        auto* bytes = static_cast<char*>(data);
        while (count > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline_ - std::chrono::steady_clock::now());
            pollfd wait{answers_.Get(), POLLIN, 0};
            const int ready =
                poll(&wait, 1, static_cast<int>(std::max<long long>(0, left.count())));
            if (ready == 0) {
                kill(child_, SIGKILL);
                throw FileError(path_, kTooSlowToDecode);
            }
            if (ready < 0 && errno == EINTR) continue;
            const ssize_t got = read(answers_.Get(), bytes, count);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            bytes += got;
            count -= static_cast<std::size_t>(got);
        }
        return true;
    }

    // Whether the helper sent nothing more and ended well.
    bool Finished() {
        char extra = 0;
        const bool more = ReadAll(&extra, 1);
        // A helper with more to say would block on the full pipe for ever, using no time.
        if (more) kill(child_, SIGKILL);
        saidTooMuch_ = more;
        int status = 0;
        while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
        }
        child_ = -1;
        status_ = status;
        return !more && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // The helper stopped before it said all: it ran out of time, or its decoder failed.
    [[noreturn]] void Fail() {
        if (child_ > 0) Finished();
        const bool stopped = !saidTooMuch_ && WIFSIGNALED(status_) &&
                             (WTERMSIG(status_) == SIGXCPU || WTERMSIG(status_) == SIGKILL);
        throw FileError(path_, stopped ? kTooSlowToDecode : kDamagedPicture);
    }

    std::string path_;
    std::chrono::steady_clock::time_point deadline_;
    pid_t child_ = -1;
    int status_ = 0;
    bool saidTooMuch_ = false;  // killed for what it sent beyond its answer, not for its time
    Descriptor answers_;
    StoredPicture picture_;
};

}  // namespace

std::unique_ptr<RowSource> OpenHelperRows(const std::string& path) {
    auto rows = std::make_unique<HelperRows>(path);
    rows->Start();
    return rows;
}

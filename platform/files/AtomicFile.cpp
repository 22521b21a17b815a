#include "platform/files/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

#include "platform/files/LinkTarget.h"
#include "platform/files/TemporaryFiles.h"

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A name beside the target that no other writer uses: the process id and a counter, then a few
// random characters in case an earlier process with the same id left one behind. Its length does
// not depend on the target's, so a target whose name is as long as the file system allows can
// still be written.
std::string TemporaryName(const std::string& destination, int attempt) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 random(std::random_device{}());
    std::string name = FolderOf(destination);
    name.append("/.quillix-").append(std::to_string(getpid()));
    name.append("-").append(std::to_string(counter++));
    if (attempt > 0) name.append("-").append(std::to_string(random()));
    return name.append(".tmp");
}

// Whether the user may write the existing file. The rename would replace it even when not, as it
// only needs the folder to be writable. A file that nobody may write was made read-only on
// purpose, so it is refused to root too, whom the system lets write anything.
bool MayWrite(const std::string& path, const struct stat& file) {
    if ((file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 || errno != EACCES;
}

}  // namespace

AtomicFile::AtomicFile(std::string target, const AtomicFileCalls& calls)
    : calls_(calls), target_(std::move(target)) {
    if (target_.empty() || target_.back() == '/') Fail(EISDIR);
    // A link is followed to its end, so that the file it points at is made or replaced and the
    // link stays.
    destination_ = LinkTarget(target_);
    struct stat replaced {};
    const bool replacing = stat(destination_.c_str(), &replaced) == 0;
    if (replacing && !S_ISREG(replaced.st_mode)) {
        // A folder, device or pipe is never replaced by a plain file.
        if (S_ISDIR(replaced.st_mode)) Fail(EISDIR);
        Fail("not a regular file");
    }
    if (replacing && !MayWrite(destination_, replaced)) Fail(EACCES);

    // Created with the usual permissions, which the kernel narrows by the umask; a replaced file
    // keeps its own. Recorded before it exists, so that no signal can leave it behind.
    for (int attempt = 0; fd_ < 0; ++attempt) {
        const std::string name = TemporaryName(destination_, attempt);
        record_ = RecordTemporaryFile(name.c_str());
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temporary_ = name;
            continue;
        }
        const int error = errno;
        ForgetTemporaryFile(std::exchange(record_, -1));
        if (error != EEXIST || attempt >= 100) Fail(error);
    }
    if (replacing && fchmod(fd_, replaced.st_mode & 07777) != 0) Fail(errno);
}

AtomicFile::~AtomicFile() {
    if (!committed_) Discard();
}

void AtomicFile::Write(const void* data, std::size_t size) {
    if (fd_ < 0) Fail(EBADF);
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = calls_.write(fd_, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

void AtomicFile::Close() {
    if (fd_ < 0) return;
    // A full disk may only show when the data is flushed or the file closed. Some network and
    // user-space file systems cannot flush at all; that is no failure of the write.
    if (calls_.fsync(fd_) != 0 && errno != EINVAL && errno != ENOTSUP) Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(errno);
}

void AtomicFile::Commit() {
    Close();
    if (calls_.rename(temporary_.c_str(), destination_.c_str()) != 0) Fail(errno);
    committed_ = true;
    ForgetTemporaryFile(std::exchange(record_, -1));
}

std::string AtomicFile::Folder() const {
    return FolderOf(destination_);
}

void AtomicFile::Fail(int error) {
    Fail(std::string(std::strerror(error)));
}

void AtomicFile::Fail(const std::string& reason) {
    Discard();
    throw FileError(target_, reason);
}

void AtomicFile::Discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    ForgetTemporaryFile(std::exchange(record_, -1));
}

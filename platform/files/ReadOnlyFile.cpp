#include "platform/files/ReadOnlyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files/FileError.h"

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
}

ReadOnlyFile::Refusal ReadOnlyFile::Fail(int error) {
    errorText_ = std::strerror(error);
    return Refusal::kSystem;
}

ReadOnlyFile::Refusal ReadOnlyFile::Open(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? Refusal::kNotFound : Fail(errno);
    }
    if (S_ISDIR(info.st_mode)) return Refusal::kFolder;
    if (!S_ISREG(info.st_mode)) return Refusal::kNotRegular;

    // O_NONBLOCK keeps a file swapped for a pipe since the check above from blocking the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Fail(errno);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Refusal::kNotRegular;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    size_ = info.st_size;
    return Refusal::kNone;
}

std::int64_t ReadOnlyFile::ReadAt(char* data, std::int64_t count, std::int64_t offset) const {
    std::int64_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, data + done, count - done, offset + done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            errorText_ = std::strerror(errno);
            return -1;
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

void OpenOrRaise(ReadOnlyFile& file, const std::string& path, const std::string& kind) {
    switch (file.Open(path)) {
        case ReadOnlyFile::Refusal::kNone:
            return;
        case ReadOnlyFile::Refusal::kNotFound:
            throw FileError(path, "file not found");
        case ReadOnlyFile::Refusal::kFolder:
            throw FileError(path, "is a folder, not a " + kind + " file");
        case ReadOnlyFile::Refusal::kNotRegular:
            throw FileError(path, "not a regular file");
        case ReadOnlyFile::Refusal::kSystem:
            throw FileError(path, file.ErrorText());
    }
}

#include "acquire/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/AtomicFile.h"

namespace {

constexpr qint64 kBufferSize = 1 << 16;

}  // namespace

PictureFile::~PictureFile() {
    if (fd_ >= 0) ::close(fd_);
}

void PictureFile::Open(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) throw FileError(path, "file not found");
        throw FileError(path, std::strerror(errno));
    }
    if (S_ISDIR(info.st_mode)) throw FileError(path, "is a folder, not a picture file");
    if (!S_ISREG(info.st_mode)) throw FileError(path, "not a regular file");

    // O_NONBLOCK keeps a file swapped for a pipe since the check above from blocking the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) throw FileError(path, std::strerror(errno));
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileError(path, "not a regular file");
    }
    if (info.st_size == 0) {
        ::close(fd);
        throw FileError(path, "empty file");
    }
    fd_ = fd;
    size_ = info.st_size;
    buffer_.resize(kBufferSize);
    QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

QByteArray PictureFile::Start(qint64 count) const {
    QByteArray bytes(static_cast<qsizetype>(std::min(count, size_)), '\0');
    ssize_t got = -1;
    do {
        got = ::pread(fd_, bytes.data(), bytes.size(), 0);
    } while (got < 0 && errno == EINTR);
    bytes.truncate(got < 0 ? 0 : static_cast<qsizetype>(got));
    return bytes;
}

bool PictureFile::seek(qint64 pos) {
    if (!QIODevice::seek(pos)) return false;
    offset_ = pos;
    return true;
}

qint64 PictureFile::ReadAt(char* data, qint64 count) {
    qint64 done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, data + done, count - done, offset_ + done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
            return -1;
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

bool PictureFile::Fill() {
    const qint64 got = ReadAt(buffer_.data(), static_cast<qint64>(buffer_.size()));
    if (got < 0) return false;
    bufferStart_ = offset_;
    bufferEnd_ = offset_ + got;
    return true;
}

qint64 PictureFile::readData(char* data, qint64 maxSize) {
    if (maxSize <= 0) return 0;
    qint64 copied = 0;
    while (copied < maxSize) {
        if (offset_ < bufferStart_ || offset_ >= bufferEnd_) {
            if (maxSize - copied >= kBufferSize) {
                // Large reads skip the buffer.
                const qint64 got = ReadAt(data + copied, maxSize - copied);
                if (got < 0) return copied > 0 ? copied : -1;
                copied += got;
                offset_ += got;
                break;
            }
            if (!Fill()) return copied > 0 ? copied : -1;
            if (bufferEnd_ == bufferStart_) break;  // end of file
        }
        const qint64 count = std::min(maxSize - copied, bufferEnd_ - offset_);
        std::memcpy(data + copied, buffer_.data() + (offset_ - bufferStart_), count);
        copied += count;
        offset_ += count;
    }
    if (copied < maxSize) {
        shortRead_ = true;
        if (copied == 0) readPastEnd_ = true;
    }
    return copied;
}

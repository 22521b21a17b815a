#include "acquire/PictureFile.h"

#include <algorithm>
#include <cstring>

#include "platform/files/FileError.h"

namespace {

constexpr qint64 kBufferSize = 1 << 16;

}  // namespace

void PictureFile::Open(const std::string& path) {
    OpenOrRaise(file_, path, "picture");
    if (file_.Size() == 0) {
        // Files of the system's own (/proc, /sys) say they are empty and yet have content.
        char first = 0;
        if (file_.ReadAt(&first, 1, 0) > 0) throw FileError(path, kNotAPicture);
        throw FileError(path, "empty file");
    }
    size_ = file_.Size();
    buffer_.resize(kBufferSize);
    QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

QByteArray PictureFile::Bytes(qint64 offset, qint64 count) const {
    if (offset < 0 || offset >= size_) return {};
    QByteArray bytes(static_cast<qsizetype>(std::min(count, size_ - offset)), '\0');
    const qint64 got = file_.ReadAt(bytes.data(), bytes.size(), offset);
    bytes.truncate(got < 0 ? 0 : static_cast<qsizetype>(got));
    return bytes;
}

QByteArray PictureFile::End(qint64 count) const {
    const qint64 last = std::min(count, size_);
    return Bytes(size_ - last, last);
}

bool PictureFile::seek(qint64 pos) {
    if (!QIODevice::seek(pos)) return false;
    offset_ = pos;
    return true;
}

qint64 PictureFile::ReadAt(char* data, qint64 count) {
    const qint64 got = file_.ReadAt(data, count, offset_);
    if (got < 0) setErrorString(QString::fromLocal8Bit(file_.ErrorText().c_str()));
    return got;
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

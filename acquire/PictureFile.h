#pragma once

#include <QIODevice>
#include <string>
#include <vector>

#include "decode/PictureReasons.h"
#include "platform/files/ReadOnlyFile.h"

// A picture file opened for a decoder, read through a buffer of its own so that every read
// request reaches readData whole. That lets it note when a decoder asked for bytes beyond the
// end of the file: some of Qt's decoders (BMP, JPEG) then return a partly drawn picture and
// report success.
class PictureFile : public QIODevice {
public:
    PictureFile() = default;

    // Opens a regular, non-empty file for reading; raises FileError naming path and the reason
    // otherwise. Never blocks on a pipe or device.
    void Open(const std::string& path);

    bool isSequential() const override { return false; }
    qint64 size() const override { return size_; }
    bool seek(qint64 pos) override;

    // Up to count bytes from offset on, read aside from the decoder's reading.
    QByteArray Bytes(qint64 offset, qint64 count) const;
    QByteArray Start(qint64 count) const { return Bytes(0, count); }
    QByteArray End(qint64 count) const;

    // A read got fewer bytes than it asked for because the file ended first.
    bool ShortRead() const { return shortRead_; }
    // A read started at the end of the file and got nothing.
    bool ReadPastEnd() const { return readPastEnd_; }
    // Clears both notes, so that only the reads from now on count.
    void ForgetShortReads() { shortRead_ = readPastEnd_ = false; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    // Reads up to count bytes at offset_ (fewer only at the end of the file); -1 on failure.
    qint64 ReadAt(char* data, qint64 count);
    bool Fill();

    ReadOnlyFile file_;
    qint64 size_ = 0;
    qint64 offset_ = 0;  // where the next readData starts
    std::vector<char> buffer_;
    qint64 bufferStart_ = 0;
    qint64 bufferEnd_ = 0;
    bool shortRead_ = false;
    bool readPastEnd_ = false;
};

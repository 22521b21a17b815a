#include "acquire/GifDataCheck.h"

#include <array>
#include <cstdint>

namespace {

using Loss = DecoderWarnings::Loss;

// The file's bytes one at a time, read in blocks; -1 past the end.
class ByteStream {
public:
    explicit ByteStream(const std::function<QByteArray(qint64, qint64)>& bytesAt)
        : bytesAt_(bytesAt) {}

    int Next() {
        if (at_ >= block_.size()) {
            offset_ += block_.size();
            block_ = bytesAt_(offset_, 1 << 16);
            at_ = 0;
            if (block_.isEmpty()) return -1;
        }
        return static_cast<std::uint8_t>(block_[at_++]);
    }
    bool Skip(int count) {
        for (int i = 0; i < count; ++i) {
            if (Next() < 0) return false;
        }
        return true;
    }

private:
    const std::function<QByteArray(qint64, qint64)>& bytesAt_;
    QByteArray block_;
    qint64 offset_ = 0;
    qsizetype at_ = 0;
};

// Skips a colour table if the flags say one follows.
bool SkipColourTable(ByteStream& bytes, int flags) {
    return (flags & 0x80) == 0 || bytes.Skip(3 << ((flags & 7) + 1));
}

// Counts the pixels that LZW-coded data yields, up to wanted; the data comes in sub-blocks.
class PixelCounter {
public:
    PixelCounter(int minimumCodeSize, std::uint64_t wanted)
        : clear_(1 << minimumCodeSize), minimum_(minimumCodeSize), wanted_(wanted) {
        for (int code = 0; code < clear_; ++code) lengths_[code] = 1;
        Reset();
    }

    // Takes one byte of data; false once the data has ended or is broken.
    bool Take(int byte) {
        bits_ |= static_cast<std::uint32_t>(byte) << held_;
        held_ += 8;
        while (held_ >= codeSize_) {
            const int code = static_cast<int>(bits_ & ((1u << codeSize_) - 1));
            bits_ >>= codeSize_;
            held_ -= codeSize_;
            if (!Code(code)) return false;
        }
        return true;
    }
    bool Whole() const { return pixels_ >= wanted_; }
    bool Broken() const { return broken_; }

private:
    static constexpr int kMaxCodes = 4096;

    void Reset() {
        codeSize_ = minimum_ + 1;
        next_ = clear_ + 2;
        previous_ = -1;
    }

    bool Code(int code) {
        if (code == clear_) {
            Reset();
            return true;
        }
        if (code == clear_ + 1) return false;  // the end of the data
        std::uint64_t length = 0;
        if (previous_ < 0) {
            if (code > clear_) return !(broken_ = true);
            length = lengths_[code];
        } else if (code < next_) {
            length = lengths_[code];
        } else if (code == next_ && next_ < kMaxCodes) {
            length = lengths_[previous_] + 1;
        } else {
            return !(broken_ = true);
        }
        if (previous_ >= 0 && next_ < kMaxCodes) {
            lengths_[next_] = lengths_[previous_] + 1;
            ++next_;
            if (next_ == 1 << codeSize_ && codeSize_ < 12) ++codeSize_;
        }
        previous_ = code;
        pixels_ += length;
        return !Whole();
    }

    std::array<std::uint32_t, kMaxCodes> lengths_{};
    const int clear_;
    const int minimum_;
    const std::uint64_t wanted_;
    int codeSize_ = 0;
    int next_ = 0;
    int previous_ = -1;
    std::uint32_t bits_ = 0;
    int held_ = 0;
    std::uint64_t pixels_ = 0;
    bool broken_ = false;
};

Loss CountFramePixels(ByteStream& bytes) {
    int descriptor[9];
    for (int& byte : descriptor) {
        if ((byte = bytes.Next()) < 0) return Loss::kRanOutOfData;
    }
    const std::uint64_t wanted = static_cast<std::uint64_t>(descriptor[4] | descriptor[5] << 8) *
                                 static_cast<std::uint64_t>(descriptor[6] | descriptor[7] << 8);
    if (!SkipColourTable(bytes, descriptor[8])) return Loss::kRanOutOfData;
    const int minimumCodeSize = bytes.Next();
    if (minimumCodeSize < 0) return Loss::kRanOutOfData;
    if (minimumCodeSize < 1 || minimumCodeSize > 11) return Loss::kCorruptData;
    PixelCounter counter(minimumCodeSize, wanted);
    for (;;) {
        const int blockSize = bytes.Next();
        if (blockSize < 0) return Loss::kRanOutOfData;
        if (blockSize == 0) break;  // the data ended
        for (int i = 0; i < blockSize; ++i) {
            const int byte = bytes.Next();
            if (byte < 0) return Loss::kRanOutOfData;
            if (!counter.Take(byte)) return counter.Whole() ? Loss::kNone : Loss::kCorruptData;
        }
    }
    return counter.Whole() ? Loss::kNone : Loss::kCorruptData;
}

}  // namespace

Loss GifDataLoss(const std::function<QByteArray(qint64 offset, qint64 count)>& bytesAt) {
    ByteStream bytes(bytesAt);
    if (!bytes.Skip(10)) return Loss::kRanOutOfData;  // signature, screen size
    const int flags = bytes.Next();
    if (flags < 0 || !bytes.Skip(2) || !SkipColourTable(bytes, flags)) return Loss::kRanOutOfData;
    for (;;) {
        const int introducer = bytes.Next();
        if (introducer < 0) return Loss::kRanOutOfData;
        if (introducer == ',') return CountFramePixels(bytes);
        if (introducer != '!' || bytes.Next() < 0) return Loss::kCorruptData;
        for (int size = bytes.Next(); size != 0; size = bytes.Next()) {  // an extension's blocks
            if (size < 0 || !bytes.Skip(size)) return Loss::kRanOutOfData;
        }
    }
}

#include "decode/ExifOrientation.h"

#include <cstring>

namespace {

constexpr std::size_t kHeaderSize = 6;  // "Exif\0\0"
constexpr int kMaxDirectories = 10;
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;

// Reads the TIFF structure after the EXIF header; a read past the end gives zeros and spoils the
// reader, as a data stream does.
class TiffReader {
public:
    TiffReader(const std::vector<std::uint8_t>& data) : data_(data), at_(kHeaderSize) {}

    bool Ok() const { return ok_; }
    std::size_t Position() const { return at_ - kHeaderSize; }
    void Seek(std::size_t offset) { at_ = kHeaderSize + offset; }
    void SetLittleEndian(bool little) { little_ = little; }

    std::uint32_t Read(int bytes) {
        if (at_ + static_cast<std::size_t>(bytes) > data_.size()) {
            ok_ = false;
            at_ = data_.size();
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const std::uint32_t byte = data_[at_ + static_cast<std::size_t>(i)];
            value |= little_ ? byte << (8 * i) : byte << (8 * (bytes - 1 - i));
        }
        at_ += static_cast<std::size_t>(bytes);
        return value;
    }

private:
    const std::vector<std::uint8_t>& data_;
    std::size_t at_;
    bool little_ = false;
    bool ok_ = true;
};

// The orientation, 0 when there is none, -1 when the data cannot be read.
int ReadOrientation(const std::vector<std::uint8_t>& data) {
    if (data.size() < kHeaderSize || std::memcmp(data.data(), "Exif\0\0", kHeaderSize) != 0) {
        return -1;
    }
    TiffReader tiff(data);
    const std::uint32_t order = tiff.Read(2);
    if (order == 0x4949) {
        tiff.SetLittleEndian(true);
    } else if (order != 0x4D4D) {
        return -1;
    }
    if (tiff.Read(2) != 0x2A) return -1;
    std::uint32_t offset = tiff.Read(4);
    for (int n = 0; n < kMaxDirectories; ++n) {
        // Directories only ever lie further on, and inside the data.
        if (offset < tiff.Position() || offset + kHeaderSize >= data.size()) return -1;
        tiff.Seek(offset);
        for (std::uint32_t entries = tiff.Read(2); entries > 0 && tiff.Ok(); --entries) {
            const std::uint32_t tag = tiff.Read(2);
            const std::uint32_t type = tiff.Read(2);
            const std::uint32_t components = tiff.Read(4);
            const std::uint32_t value = tiff.Read(2);
            tiff.Read(2);
            if (tag == kOrientationTag) {
                if (components != 1 || type != kShortType || value < 1 || value > 8) return -1;
                return static_cast<int>(value);
            }
        }
        offset = tiff.Read(4);
        if (!tiff.Ok()) return -1;
        if (offset == 0) return 0;
    }
    return -1;
}

}  // namespace

int ExifOrientation(const std::vector<std::uint8_t>& app1Data) {
    const int orientation = ReadOrientation(app1Data);
    return orientation > 0 ? orientation : 1;
}

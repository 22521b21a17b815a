#include "decode/TgaRows.h"

#include <array>
#include <cstdint>
#include <vector>

#include "decode/PictureHeader.h"
#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

constexpr int kHeaderSize = 18;
constexpr char kFooter[] = "TRUEVISION-XFILE.";  // and a zero byte, at the very end
constexpr int kFooterSize = 18;

enum ImageType { kColourMapped = 1, kTrueColour = 2, kGrey = 3, kRunLength = 8 };

unsigned U16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::uint32_t Widen5(std::uint32_t level) {
    return level << 3 | level >> 2;
}

// Qt's premultiplication (qPremultiply).
std::uint32_t Premultiply(std::uint32_t channel, std::uint32_t alpha) {
    const std::uint32_t t = channel * alpha;
    return (t + (t >> 8) + 0x80) >> 8;
}

struct TgaLayout {
    int width = 0;
    int height = 0;
    int type = 0;  // without the run-length bit
    bool runLength = false;
    int depth = 0;  // bits a stored pixel
    int alphaBits = 0;
    bool topDown = false;
    bool rightToLeft = false;
    int mapFirst = 0;
    int mapLength = 0;
    int mapDepth = 0;
    std::int64_t mapStart = 0;
    std::int64_t dataStart = 0;
};

bool ValidColourDepth(int depth) {
    return depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

// The layout the header gives, or false when it is not a TGA header this reader takes. Without
// the footer every field must make sense: a colour map exactly when the type uses one, and the
// map's fields zero otherwise.
bool ReadLayout(const ReadOnlyFile& file, TgaLayout& layout) {
    const std::string head = FileBytes(file, 0, kHeaderSize);
    if (head.size() < kHeaderSize) return false;
    const std::string tail = FileBytes(file, file.Size() - kFooterSize, kFooterSize);
    const bool footer =
        tail.size() == kFooterSize && tail.compare(0, kFooterSize, kFooter, kFooterSize) == 0;
    const auto byte = [&head](int at) {
        return static_cast<int>(static_cast<unsigned char>(head[at]));
    };
    const int idLength = byte(0);
    const int mapType = byte(1);
    const int type = byte(2);
    layout.type = type & ~kRunLength;
    layout.runLength = (type & kRunLength) != 0;
    layout.mapFirst = static_cast<int>(U16(head, 3));
    layout.mapLength = static_cast<int>(U16(head, 5));
    layout.mapDepth = byte(7);
    layout.width = static_cast<int>(U16(head, 12));
    layout.height = static_cast<int>(U16(head, 14));
    layout.depth = byte(16);
    const int descriptor = byte(17);
    layout.alphaBits = descriptor & 0x0F;
    layout.rightToLeft = (descriptor & 0x10) != 0;
    layout.topDown = (descriptor & 0x20) != 0;
    if (layout.width == 0 || layout.height == 0 || (descriptor & 0xC0) != 0 || mapType > 1 ||
        (type & ~(kRunLength | 3)) != 0) {
        return false;
    }
    switch (layout.type) {
        case kColourMapped:
            if (mapType != 1 || layout.depth != 8 || !ValidColourDepth(layout.mapDepth) ||
                layout.mapLength == 0) {
                return false;
            }
            break;
        case kTrueColour:
            if (!ValidColourDepth(layout.depth)) return false;
            break;
        case kGrey:
            if (layout.depth != 8) return false;
            break;
        default:
            return false;
    }
    const bool mapFieldsZero =
        layout.mapFirst == 0 && layout.mapLength == 0 && layout.mapDepth == 0;
    if (!footer && layout.type != kColourMapped && (mapType != 0 || !mapFieldsZero)) return false;
    if (layout.alphaBits > layout.depth) return false;
    layout.mapStart = kHeaderSize + idLength;
    const std::int64_t mapBytes =
        mapType == 1 ? std::int64_t{layout.mapLength} * ((layout.mapDepth + 7) / 8) : 0;
    layout.dataStart = layout.mapStart + mapBytes;
    return true;
}

class TgaRows : public RowSource {
public:
    TgaRows(const std::string& path, const ReadOnlyFile& file, const TgaLayout& layout)
        : path_(path), file_(file), layout_(layout) {
        picture_.width = layout.width;
        picture_.height = layout.height;
    }

    const StoredPicture& Picture() const override { return picture_; }

    void Feed(RowConsumer& consumer) override {
        if (layout_.type == kColourMapped) ReadColourMap();
        const std::vector<bool> wanted = WantedRows(consumer, layout_.height);
        at_ = layout_.dataStart;
        const auto width = static_cast<std::size_t>(layout_.width);
        std::vector<std::uint32_t> row(width);
        for (int line = 0; line < layout_.height; ++line) {
            const int y = layout_.topDown ? line : layout_.height - 1 - line;
            for (std::size_t x = 0; x < width; ++x) {
                row[layout_.rightToLeft ? width - 1 - x : x] = NextPixel();
            }
            if (wanted[static_cast<std::size_t>(y)]) consumer.TakeRow(y, row.data());
        }
    }

private:
    int PixelBytes() const { return (layout_.depth + 7) / 8; }

    void ReadColourMap() {
        const int bytes = (layout_.mapDepth + 7) / 8;
        const std::string map =
            FileBytes(file_, layout_.mapStart, std::int64_t{layout_.mapLength} * bytes);
        if (map.size() != static_cast<std::size_t>(layout_.mapLength) * bytes) {
            throw FileError(path_, kTruncatedPicture);
        }
        for (int i = 0; i < layout_.mapLength; ++i) {
            const auto* entry = reinterpret_cast<const unsigned char*>(map.data()) + i * bytes;
            map_.push_back(Colour(entry, layout_.mapDepth, layout_.alphaBits));
        }
    }

    // A stored colour of depth bits as drawn over black.
    static std::uint32_t Colour(const unsigned char* p, int depth, int alphaBits) {
        if (depth == 15 || depth == 16) {
            const std::uint32_t v = p[0] | p[1] << 8;
            const bool clear = depth == 16 && alphaBits >= 1 && (v & 0x8000) == 0;
            if (clear) return 0;
            return Widen5((v >> 10) & 0x1F) << 16 | Widen5((v >> 5) & 0x1F) << 8 | Widen5(v & 0x1F);
        }
        if (depth == 8) return std::uint32_t{p[0]} * 0x010101;
        const std::uint32_t alpha = depth == 32 && alphaBits > 0 ? p[3] : 0xFF;
        return Premultiply(p[2], alpha) << 16 | Premultiply(p[1], alpha) << 8 |
               Premultiply(p[0], alpha);
    }

    std::uint32_t Decode(const unsigned char* p) const {
        if (layout_.type != kColourMapped) return Colour(p, layout_.depth, layout_.alphaBits);
        const int index = p[0] - layout_.mapFirst;
        if (index < 0 || index >= static_cast<int>(map_.size())) {
            throw FileError(path_, kDamagedPicture);
        }
        return map_[static_cast<std::size_t>(index)];
    }

    // The next pixel in file order, through the run-length packets if any.
    std::uint32_t NextPixel() {
        if (!layout_.runLength) return Decode(Take(PixelBytes()));
        if (left_ == 0) {
            const unsigned packet = *Take(1);
            left_ = static_cast<int>(packet & 0x7F) + 1;
            repeat_ = (packet & 0x80) != 0;
            if (repeat_) value_ = Decode(Take(PixelBytes()));
        }
        --left_;
        return repeat_ ? value_ : Decode(Take(PixelBytes()));
    }

    const unsigned char* Take(int count) {
        if (taken_ + static_cast<std::size_t>(count) > buffer_.size()) {
            at_ += static_cast<std::int64_t>(taken_);
            buffer_ = FileBytes(file_, at_, 1 << 16);
            taken_ = 0;
            if (buffer_.size() < static_cast<std::size_t>(count)) {
                throw FileError(path_, kTruncatedPicture);
            }
        }
        const auto* p = reinterpret_cast<const unsigned char*>(buffer_.data()) + taken_;
        taken_ += static_cast<std::size_t>(count);
        return p;
    }

    std::string path_;
    const ReadOnlyFile& file_;
    TgaLayout layout_;
    StoredPicture picture_;
    std::vector<std::uint32_t> map_;
    std::string buffer_;
    std::size_t taken_ = 0;
    std::int64_t at_ = 0;  // where buffer_ starts in the file
    int left_ = 0;
    bool repeat_ = false;
    std::uint32_t value_ = 0;
};

}  // namespace

std::unique_ptr<RowSource> OpenTgaRows(const std::string& path, const ReadOnlyFile& file) {
    TgaLayout layout;
    if (!ReadLayout(file, layout)) return nullptr;
    if (TooLarge(layout.width, layout.height)) {
        throw FileError(path, TooLargeReason(layout.width, layout.height));
    }
    return std::make_unique<TgaRows>(path, file, layout);
}

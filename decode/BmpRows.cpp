#include "decode/BmpRows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kV4HeaderSize = 108;
constexpr int kV5HeaderSize = 124;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr int kMaxPaletteSize = 256;
constexpr std::uint32_t kBlack = 0;

std::uint32_t LittleEndian(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

struct BmpLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kUncompressed;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::int64_t dataStart = 0;
    std::int64_t rowBytes = 0;
};

// Which BMPs this reader takes: the 40-byte header with 1, 4, 8, 16 (5-5-5), 24 or 32 bits a
// pixel (the fourth byte ignored) uncompressed, or 4 or 8 bits run-length encoded, stored from the
// bottom; 24 bits with any Windows header.
bool Handled(std::uint32_t headerSize, int bitCount, std::uint32_t compression, int height) {
    const bool plainHeader = headerSize == kInfoHeaderSize;
    const bool windowsHeader =
        plainHeader || headerSize == kV4HeaderSize || headerSize == kV5HeaderSize;
    if (compression == kRle8) return plainHeader && bitCount == 8 && height > 0;
    if (compression == kRle4) return plainHeader && bitCount == 4 && height > 0;
    if (compression != kUncompressed) return false;
    return (bitCount == 24 && windowsHeader) ||
           ((bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 32) &&
            plainHeader);
}

// The layout of a BMP this reader handles, or false. Sizes above the limit are not checked here.
bool ReadLayout(const ReadOnlyFile& file, BmpLayout& layout) {
    std::array<std::uint8_t, kFileHeaderSize + kInfoHeaderSize> head{};
    if (file.ReadAt(reinterpret_cast<char*>(head.data()), head.size(), 0) !=
        static_cast<std::int64_t>(head.size())) {
        return false;
    }
    const std::uint8_t* info = head.data() + kFileHeaderSize;
    const std::uint32_t headerSize = LittleEndian(info, 4);
    const auto width = static_cast<std::int32_t>(LittleEndian(info + 4, 4));
    const auto height = static_cast<std::int32_t>(LittleEndian(info + 8, 4));
    const std::uint32_t planes = LittleEndian(info + 12, 2);
    const auto bitCount = static_cast<int>(LittleEndian(info + 14, 2));
    const std::uint32_t compression = LittleEndian(info + 16, 4);
    const std::uint32_t coloursUsed = LittleEndian(info + 32, 4);
    if (!Handled(headerSize, bitCount, compression, height) || planes != 1 || width <= 0 ||
        height == 0 || height == INT32_MIN) {
        return false;
    }
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    layout.topDown = height < 0;
    layout.bitCount = bitCount;
    layout.compression = compression;
    layout.rowBytes = (static_cast<std::int64_t>(width) * bitCount + 31) / 32 * 4;

    std::int64_t afterPalette = kFileHeaderSize + static_cast<std::int64_t>(headerSize);
    if (bitCount <= 8) {
        const std::uint32_t count = coloursUsed != 0 ? coloursUsed : 1u << bitCount;
        // A one-bit picture with other than two colours shows Qt's own stand-ins.
        if (count > kMaxPaletteSize || (bitCount == 1 && count != 2)) return false;
        std::vector<std::uint8_t> entries(count * 4);
        if (file.ReadAt(reinterpret_cast<char*>(entries.data()),
                        static_cast<std::int64_t>(entries.size()),
                        afterPalette) != static_cast<std::int64_t>(entries.size())) {
            return false;
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* bgr = entries.data() + 4 * i;
            layout.palette.push_back(std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 |
                                     bgr[0]);
        }
        afterPalette += static_cast<std::int64_t>(entries.size());
    }
    // As Qt's reader: the pixels start at the header's offset unless that points back into the
    // headers or the palette.
    const auto offset = static_cast<std::int32_t>(LittleEndian(head.data() + 10, 4));
    layout.dataStart = std::max<std::int64_t>(offset, afterPalette);
    return true;
}

class BmpRowsBase : public RowSource {
public:
    BmpRowsBase(const std::string& path, const ReadOnlyFile& file, BmpLayout layout)
        : path_(path), file_(file), layout_(std::move(layout)) {
        picture_.width = layout_.width;
        picture_.height = layout_.height;
    }
    const StoredPicture& Picture() const override { return picture_; }

protected:
    // A palette index as the colour Qt shows: an index beyond the palette is black.
    std::uint32_t Colour(unsigned index) const {
        return index < layout_.palette.size() ? layout_.palette[index] : kBlack;
    }

    std::string path_;
    const ReadOnlyFile& file_;
    BmpLayout layout_;
    StoredPicture picture_;
};

// Each needed row read straight from its place in the file.
class UncompressedRows : public BmpRowsBase {
public:
    using BmpRowsBase::BmpRowsBase;

    void Feed(RowConsumer& consumer) override {
        // Every row is read whole or the picture is refused.
        const std::int64_t end = layout_.dataStart + layout_.rowBytes * layout_.height;
        if (file_.Size() < end) throw FileError(path_, kTruncatedPicture);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(layout_.rowBytes));
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(layout_.width));
        for (const int row : consumer.NeededRows()) {
            if (row >= layout_.height) break;
            const std::int64_t stored = layout_.topDown ? row : layout_.height - 1 - row;
            const std::int64_t at = layout_.dataStart + stored * layout_.rowBytes;
            if (file_.ReadAt(reinterpret_cast<char*>(bytes.data()), layout_.rowBytes, at) !=
                layout_.rowBytes) {
                throw FileError(path_, kTruncatedPicture);
            }
            Unpack(bytes.data(), pixels.data());
            consumer.TakeRow(row, pixels.data());
        }
    }

private:
    void Unpack(const std::uint8_t* bytes, std::uint32_t* pixels) const {
        const int width = layout_.width;
        switch (layout_.bitCount) {
            case 16:
                // 5 bits a colour, each level times 8, as Qt's reader scales them.
                for (int x = 0; x < width; ++x, bytes += 2) {
                    const std::uint32_t v = LittleEndian(bytes, 2);
                    pixels[x] =
                        ((v >> 10) & 0x1F) << 19 | ((v >> 5) & 0x1F) << 11 | (v & 0x1F) << 3;
                }
                return;
            case 24:
            case 32: {
                const int step = layout_.bitCount / 8;
                for (int x = 0; x < width; ++x, bytes += step) pixels[x] = LittleEndian(bytes, 3);
                return;
            }
            default: {
                const int bits = layout_.bitCount;
                const unsigned mask = (1u << bits) - 1;
                for (int x = 0; x < width; ++x) {
                    const int bit = x * bits;
                    pixels[x] = Colour((bytes[bit / 8] >> (8 - bits - bit % 8)) & mask);
                }
                return;
            }
        }
    }
};

// Run-length encoded rows, decoded from the bottom row up and handed over as each is finished.
// Every row starts black, so the pixels that the runs skip (by a jump, the end of a line or the
// end of the picture) are black by construction.
class RunLengthRows : public BmpRowsBase {
public:
    using BmpRowsBase::BmpRowsBase;

    void Feed(RowConsumer& consumer) override {
        wanted_ = WantedRows(consumer, layout_.height);
        row_.assign(static_cast<std::size_t>(layout_.width), kBlack);
        at_ = layout_.dataStart;
        line_ = 0;  // counted from the bottom
        int x = 0;
        while (line_ < layout_.height) {
            const int count = Next();
            const int code = Next();
            if (count > 0) {  // a run of one index (RLE8) or two alternating ones (RLE4)
                for (int i = 0; i < count; ++i) Put(x, Nibble(code, i));
                continue;
            }
            if (code == 0) {  // the end of a line
                NextLine(consumer);
                x = 0;
            } else if (code == 1) {  // the end of the picture
                break;
            } else if (code == 2) {  // a jump right and up
                const int right = Next();
                const int up = Next();
                for (int i = 0; i < up && line_ < layout_.height; ++i) NextLine(consumer);
                x = std::min(x + right, layout_.width);
            } else {  // code literal indices, padded to a whole number of 16-bit words
                const bool rle4 = layout_.compression == kRle4;
                const int bytes = rle4 ? (code + 1) / 2 : code;
                int value = 0;
                for (int i = 0; i < code; ++i) {
                    if (!rle4 || i % 2 == 0) value = Next();
                    Put(x, rle4 ? Nibble(value, i) : value);
                }
                if (bytes % 2 != 0) Next();
            }
        }
        while (line_ < layout_.height) NextLine(consumer);
    }

private:
    // The i-th index of a run's or a literal's byte: RLE4 alternates its two nibbles.
    int Nibble(int byte, int i) const {
        if (layout_.compression != kRle4) return byte;
        return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }

    // Sets pixel x and moves on; pixels beyond the right edge are dropped.
    void Put(int& x, int index) {
        if (x >= layout_.width) return;
        row_[static_cast<std::size_t>(x++)] = Colour(static_cast<unsigned>(index));
    }

    void NextLine(RowConsumer& consumer) {
        const int row = layout_.height - 1 - line_;
        if (wanted_[static_cast<std::size_t>(row)]) consumer.TakeRow(row, row_.data());
        std::fill(row_.begin(), row_.end(), kBlack);
        ++line_;
    }

    int Next() {
        if (taken_ >= held_) {
            const std::int64_t got = file_.ReadAt(reinterpret_cast<char*>(buffer_.data()),
                                                  static_cast<std::int64_t>(buffer_.size()), at_);
            if (got <= 0) throw FileError(path_, kTruncatedPicture);
            at_ += got;
            held_ = static_cast<std::size_t>(got);
            taken_ = 0;
        }
        return buffer_[taken_++];
    }

    std::vector<bool> wanted_;
    std::vector<std::uint32_t> row_;
    int line_ = 0;
    std::array<std::uint8_t, 1 << 16> buffer_{};
    std::int64_t at_ = 0;
    std::size_t held_ = 0;
    std::size_t taken_ = 0;
};

}  // namespace

std::unique_ptr<RowSource> OpenBmpRows(const std::string& path, const ReadOnlyFile& file) {
    BmpLayout layout;
    if (!ReadLayout(file, layout)) return nullptr;
    if (TooLarge(layout.width, layout.height)) {
        throw FileError(path, TooLargeReason(layout.width, layout.height));
    }
    if (layout.compression == kUncompressed) {
        return std::make_unique<UncompressedRows>(path, file, std::move(layout));
    }
    return std::make_unique<RunLengthRows>(path, file, std::move(layout));
}

#include "acquire/streaming/BmpRows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "acquire/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/files/ReadOnlyFile.h"

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kV4HeaderSize = 108;
constexpr int kV5HeaderSize = 124;
constexpr std::uint32_t kUncompressed = 0;
constexpr int kMaxPaletteSize = 256;

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
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::int64_t dataStart = 0;
    std::int64_t rowBytes = 0;
};

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
    const bool plainHeader = headerSize == kInfoHeaderSize;
    const bool windowsHeader =
        plainHeader || headerSize == kV4HeaderSize || headerSize == kV5HeaderSize;
    const bool handled =
        (bitCount == 24 && windowsHeader) ||
        ((bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 32) && plainHeader);
    if (!handled || planes != 1 || compression != kUncompressed || width <= 0 || height == 0 ||
        height == INT32_MIN) {
        return false;
    }
    layout.width = width;
    layout.height = height < 0 ? -height : height;
    layout.topDown = height < 0;
    layout.bitCount = bitCount;
    layout.rowBytes = (static_cast<std::int64_t>(width) * bitCount + 31) / 32 * 4;

    std::int64_t afterPalette = kFileHeaderSize + kInfoHeaderSize;
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

class BmpRows : public RowSource {
public:
    BmpRows(const std::string& path, const ReadOnlyFile& file, BmpLayout layout)
        : path_(path), file_(file), layout_(std::move(layout)) {
        picture_.width = layout_.width;
        picture_.height = layout_.height;
    }

    const StoredPicture& Picture() const override { return picture_; }

    void Feed(RowConsumer& consumer) override {
        // Every row is read whole or the picture is refused, as the full decoder refuses it.
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
                    const unsigned index = (bytes[bit / 8] >> (8 - bits - bit % 8)) & mask;
                    // Qt shows an index beyond the palette as black.
                    pixels[x] = index < layout_.palette.size() ? layout_.palette[index] : 0;
                }
                return;
            }
        }
    }

    std::string path_;
    const ReadOnlyFile& file_;
    BmpLayout layout_;
    StoredPicture picture_;
};

}  // namespace

std::unique_ptr<RowSource> OpenBmpRows(const std::string& path, const ReadOnlyFile& file) {
    BmpLayout layout;
    if (!ReadLayout(file, layout)) return nullptr;
    if (layout.width > kMaxPictureSide || layout.height > kMaxPictureSide) {
        throw FileError(path, TooLargeReason(layout.width, layout.height));
    }
    return std::make_unique<BmpRows>(path, file, std::move(layout));
}

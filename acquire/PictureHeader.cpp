#include "acquire/PictureHeader.h"

#include <cstdint>
#include <cstdlib>

namespace {

std::int64_t LittleEndian(const QByteArray& bytes, int at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    // Widths and heights are signed: a negative height means rows stored from the top.
    if (count == 2) return static_cast<std::int16_t>(value);
    return static_cast<std::int32_t>(value);
}

int BigEndian16(const QByteArray& bytes, int at) {
    return static_cast<std::uint8_t>(bytes[at]) << 8 | static_cast<std::uint8_t>(bytes[at + 1]);
}

bool IsFrameHeader(std::uint8_t marker) {
    // SOF0..SOF15, less DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

}  // namespace

QByteArray FormatFromSignature(const QByteArray& head) {
    if (head.startsWith("\xFF\xD8\xFF")) return "jpeg";
    if (head.startsWith("BM")) return "bmp";
    if (head.startsWith("\x89PNG\r\n\x1A\n")) return "png";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return "gif";
    return {};
}

QByteArray FormatFromFooter(const QByteArray& tail) {
    static const QByteArray kTga2Footer("TRUEVISION-XFILE.", kFooterSize);
    return tail.endsWith(kTga2Footer) ? "tga" : QByteArray();
}

QSize BmpDeclaredSize(const QByteArray& head) {
    constexpr int kInfoHeaderAt = 14;
    if (head.size() < kInfoHeaderAt + 12 || !head.startsWith("BM")) return {};
    const std::int64_t infoSize = LittleEndian(head, kInfoHeaderAt, 4);
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (infoSize == 12) {  // the old OS/2 header, with 16-bit sides
        width = LittleEndian(head, kInfoHeaderAt + 4, 2);
        height = LittleEndian(head, kInfoHeaderAt + 6, 2);
    } else if (head.size() >= kInfoHeaderAt + 12) {
        width = LittleEndian(head, kInfoHeaderAt + 4, 4);
        height = LittleEndian(head, kInfoHeaderAt + 8, 4);
    }
    width = std::llabs(width);
    height = std::llabs(height);
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) return {};
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

JpegFrame JpegFrameHeader(const std::function<QByteArray(qint64 offset, qint64 count)>& bytesAt) {
    qint64 at = 2;  // after the start-of-image marker
    for (int segments = 0; segments < 1000; ++segments) {
        const QByteArray head = bytesAt(at, 9);
        if (head.size() < 4 || static_cast<std::uint8_t>(head[0]) != 0xFF) return {};
        const auto marker = static_cast<std::uint8_t>(head[1]);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return {};  // the scan, or the end, came first
        if (IsFrameHeader(marker)) {
            if (head.size() < 9) return {};
            const int height = BigEndian16(head, 5);
            const int width = BigEndian16(head, 7);
            if (width == 0 || height == 0) return {};
            // SOF2, SOF6, SOF10 and SOF14 are the progressive ones.
            return {QSize(width, height), (marker & 0x03) == 0x02};
        }
        at += 2 + BigEndian16(head, 2);
    }
    return {};
}

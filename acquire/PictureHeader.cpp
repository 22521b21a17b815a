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

#include "decode/PictureHeader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <regex>

#include "platform/files/ReadOnlyFile.h"

namespace {

// Enough of a text header to find the sizes in, comments included.
constexpr std::int64_t kTextHead = 4096;

unsigned Byte(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

long long LittleEndian(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | Byte(bytes, at + i);
    // Widths and heights are signed: a negative height means rows stored from the top.
    if (count == 2) return static_cast<std::int16_t>(value);
    return static_cast<std::int32_t>(value);
}

long long BigEndian(const std::string& bytes, std::size_t at, int count) {
    long long value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | Byte(bytes, at + i);
    return value;
}

bool IsFrameHeader(unsigned marker) {
    // SOF0..SOF15, less DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// "P1".."P6", then width and height, with comments from '#' to the line's end.
PictureSize NetpbmSize(const std::string& head) {
    std::size_t at = 2;
    long long values[2] = {0, 0};
    for (long long& value : values) {
        for (;;) {
            while (at < head.size() && std::isspace(static_cast<unsigned char>(head[at]))) ++at;
            if (at < head.size() && head[at] == '#') {
                while (at < head.size() && head[at] != '\n') ++at;
                continue;
            }
            break;
        }
        std::size_t digits = 0;
        while (at < head.size() && std::isdigit(static_cast<unsigned char>(head[at]))) {
            value = std::min(value * 10 + (head[at] - '0'), 1LL << 40);
            ++at;
            ++digits;
        }
        if (digits == 0) return {};
    }
    return {values[0], values[1]};
}

PictureSize XpmSize(const std::string& head) {
    static const std::regex kValues(R"(\{[^"]*"\s*(\d{1,12})\s+(\d{1,12}))");
    std::smatch match;
    if (!std::regex_search(head, match, kValues)) return {};
    return {std::stoll(match[1]), std::stoll(match[2])};
}

struct Xbm {
    PictureSize size;
    std::size_t dataStart = std::string::npos;
};

Xbm XbmHeader(const std::string& head) {
    static const std::regex kWidth(R"(#define\s+\S*width\s+(\d{1,12}))");
    static const std::regex kHeight(R"(#define\s+\S*height\s+(\d{1,12}))");
    Xbm xbm;
    std::smatch width, height;
    if (!std::regex_search(head, width, kWidth) || !std::regex_search(head, height, kHeight)) {
        return xbm;
    }
    xbm.size = {std::stoll(width[1]), std::stoll(height[1])};
    xbm.dataStart = head.find('{');
    return xbm;
}

bool StartsWith(const std::string& bytes, const char* prefix) {
    return bytes.rfind(prefix, 0) == 0;
}

}  // namespace

std::string FileBytes(const ReadOnlyFile& file, std::int64_t offset, std::int64_t count) {
    if (offset < 0 || offset >= file.Size() || count <= 0) return {};
    std::string bytes(static_cast<std::size_t>(std::min(count, file.Size() - offset)), '\0');
    const std::int64_t got =
        file.ReadAt(bytes.data(), static_cast<std::int64_t>(bytes.size()), offset);
    bytes.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return bytes;
}

PictureSize JpegDeclaredSize(const ReadOnlyFile& file) {
    std::int64_t at = 2;  // after the start-of-image marker
    for (int segments = 0; segments < 1000; ++segments) {
        const std::string head = FileBytes(file, at, 9);
        if (head.size() < 4 || Byte(head, 0) != 0xFF) return {};
        const unsigned marker = Byte(head, 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) return {};  // the scan, or the end, came first
        if (IsFrameHeader(marker)) {
            if (head.size() < 9) return {};
            return {BigEndian(head, 7, 2), BigEndian(head, 5, 2)};
        }
        at += 2 + BigEndian(head, 2, 2);
    }
    return {};
}

PictureSize BmpDeclaredSize(const std::string& head) {
    constexpr std::size_t kInfoHeaderAt = 14;
    if (head.size() < kInfoHeaderAt + 12 || !StartsWith(head, "BM")) return {};
    const long long infoSize = LittleEndian(head, kInfoHeaderAt, 4);
    if (infoSize == 12) {  // the old OS/2 header, with 16-bit sides
        return {std::llabs(LittleEndian(head, kInfoHeaderAt + 4, 2)),
                std::llabs(LittleEndian(head, kInfoHeaderAt + 6, 2))};
    }
    return {std::llabs(LittleEndian(head, kInfoHeaderAt + 4, 4)),
            std::llabs(LittleEndian(head, kInfoHeaderAt + 8, 4))};
}

PictureSize PngDeclaredSize(const std::string& head) {
    if (head.size() < 24 || head.compare(12, 4, "IHDR") != 0) return {};
    return {BigEndian(head, 16, 4), BigEndian(head, 20, 4)};
}

PictureSize FallbackDeclaredSize(const ReadOnlyFile& file) {
    const std::string head = FileBytes(file, 0, kTextHead);
    if (head.size() >= 2 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6') {
        return NetpbmSize(head);
    }
    if (head.find("XPM") != std::string::npos && head.find("static") != std::string::npos) {
        return XpmSize(head);
    }
    if (StartsWith(head, "#define")) return XbmHeader(head).size;
    return {};
}

bool XbmComplete(const ReadOnlyFile& file) {
    const std::string head = FileBytes(file, 0, kTextHead);
    if (!StartsWith(head, "#define")) return true;
    const Xbm xbm = XbmHeader(head);
    if (xbm.dataStart == std::string::npos || xbm.size.width <= 0 || xbm.size.height <= 0) {
        return true;  // the decoder judges it
    }
    // Every byte of the picture is a value "0x.." in the data; count them, a block at a time.
    const long long wanted = (xbm.size.width + 7) / 8 * xbm.size.height;
    long long values = 0;
    std::int64_t at = static_cast<std::int64_t>(xbm.dataStart);
    char previous = 0;
    for (;;) {
        const std::string block = FileBytes(file, at, 1 << 16);
        if (block.empty()) break;
        for (const char c : block) {
            if ((c == 'x' || c == 'X') && previous == '0') ++values;
            previous = c;
        }
        if (values >= wanted) return true;
        at += static_cast<std::int64_t>(block.size());
    }
    return values >= wanted;
}

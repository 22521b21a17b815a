#pragma once

// Picture files made byte by byte for the decoding tests: BMP variants that Qt cannot write
// (RLE, top-down, 16-bit), GIFs, and an EXIF orientation tag added to a JPEG.

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace picture_files {

inline void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
inline void PutBe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;

struct Bmp {
    int width = 0;
    int height = 0;  // negative: rows stored from the top
    int bitCount = 24;
    std::uint32_t compression = kBiRgb;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::string pixelData;
};

// A BMP file with a 40-byte info header.
inline std::string BmpBytes(const Bmp& bmp) {
    const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(bmp.palette.size());
    std::string out = "BM";
    PutLe(out, offset + static_cast<std::uint32_t>(bmp.pixelData.size()), 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(bmp.width), 4);
    PutLe(out, static_cast<std::uint32_t>(bmp.height), 4);
    PutLe(out, 1, 2);
    PutLe(out, static_cast<std::uint32_t>(bmp.bitCount), 2);
    PutLe(out, bmp.compression, 4);
    PutLe(out, static_cast<std::uint32_t>(bmp.pixelData.size()), 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, static_cast<std::uint32_t>(bmp.palette.size()), 4);
    PutLe(out, 0, 4);
    for (std::uint32_t colour : bmp.palette) PutLe(out, colour, 4);  // B, G, R, 0
    return out + bmp.pixelData;
}

// Uncompressed rows of bitCount-bit values, each padded to 4 bytes, stored bottom row first
// unless topDown. value(x, y) gives the pixel's bits (an index, or a packed colour).
inline std::string PackRows(int width, int height, int bitCount, bool topDown,
                            const std::function<std::uint32_t(int, int)>& value) {
    const int rowBytes = (width * bitCount + 31) / 32 * 4;
    std::string out;
    for (int i = 0; i < height; ++i) {
        const int y = topDown ? i : height - 1 - i;
        std::string row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, y);
            if (bitCount >= 8) {
                for (int b = 0; b < bitCount / 8; ++b) {
                    row[x * bitCount / 8 + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
                }
            } else {
                const int bit = x * bitCount;
                const int shift = 8 - bitCount - bit % 8;
                row[bit / 8] =
                    static_cast<char>(static_cast<unsigned char>(row[bit / 8]) | (v << shift));
            }
        }
        out += row;
    }
    return out;
}

inline std::string Encode(const QImage& image, const char* format, int quality = -1,
                          const std::function<void(QImageWriter&)>& configure = {}) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0) writer.setQuality(quality);
    if (configure) configure(writer);
    if (!writer.write(image)) {
        throw std::runtime_error(std::string("cannot encode ") + format + ": " +
                                 writer.errorString().toStdString());
    }
    return bytes.toStdString();
}

// Why Qt cannot write the format here, or "" when it can. TIFF, WebP and ICNS come with the
// image format plugins that the test command installs.
inline std::string MissingEncoder(const char* format) {
    if (QImageWriter::supportedImageFormats().contains(format)) return "";
    return std::string("Qt has no ") + format +
           " encoder here: install the Debian package qt6-image-formats-plugins";
}

// An uncompressed true-colour TGA file, rows stored from the top, with the TGA 2.0 footer or
// without (as many writers make it); rgb(x, y) is 0xRRGGBB. Qt does not write TGA.
inline std::string TgaBytes(int width, int height,
                            const std::function<std::uint32_t(int, int)>& rgb, bool footer = true) {
    std::string out;
    PutLe(out, 0, 2);     // no image id, no colour map
    PutLe(out, 2, 1);     // uncompressed true colour
    out.append(5, '\0');  // the colour map's fields: none
    PutLe(out, 0, 4);     // origin
    PutLe(out, static_cast<std::uint32_t>(width), 2);
    PutLe(out, static_cast<std::uint32_t>(height), 2);
    PutLe(out, 24, 1);
    PutLe(out, 0x20, 1);  // top row first
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) PutLe(out, rgb(x, y), 3);  // B, G, R
    }
    if (!footer) return out;
    out.append(8, '\0');  // no extension area, no developer directory
    return out + std::string("TRUEVISION-XFILE.", 18);
}

// A PNG (or MNG) chunk: length, type, data and CRC.
inline std::string Chunk(const std::string& type, const std::string& data) {
    std::string out;
    PutBe(out, static_cast<std::uint32_t>(data.size()), 4);
    const std::string body = type + data;
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char byte : body) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    PutBe(out, ~crc, 4);
    return out.insert(4, body);
}

// The JPEG with an APP1 EXIF segment holding only the given orientation (1..8), placed right
// after the start-of-image marker.
inline std::string WithExifOrientation(const std::string& jpeg, int orientation) {
    std::string tiff = "MM";
    PutBe(tiff, 42, 2);
    PutBe(tiff, 8, 4);  // first IFD right after the header
    PutBe(tiff, 1, 2);  // one entry
    PutBe(tiff, 0x0112, 2);
    PutBe(tiff, 3, 2);  // SHORT
    PutBe(tiff, 1, 4);
    PutBe(tiff, static_cast<std::uint32_t>(orientation), 2);
    PutBe(tiff, 0, 2);
    PutBe(tiff, 0, 4);  // no next IFD
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    std::string segment = "\xFF\xE1";
    PutBe(segment, static_cast<std::uint32_t>(payload.size() + 2), 2);
    return jpeg.substr(0, 2) + segment + payload + jpeg.substr(2);
}

// How a GIF's first picture sits on its screen.
struct GifLayout {
    int screenWidth = 0;  // 0: the picture's own size
    int screenHeight = 0;
    int left = 0;
    int top = 0;
    int background = 0;    // the screen's background colour index
    int transparent = -1;  // a graphics control extension's transparent index, if any
    bool interlaced = false;
    bool localTable = false;  // a table of its own, the greys reversed
};

// A GIF of 256 grey levels whose width x height picture has pixels index(x, y), coded as 9-bit
// LZW literals with a clear code before the code table would grow (which every decoder reads).
inline std::string GifBytes(int width, int height, const std::function<int(int, int)>& index,
                            const GifLayout& layout = {}) {
    const auto grey = [](std::string& out, bool reversed) {
        for (int i = 0; i < 256; ++i)
            out += std::string(3, static_cast<char>(reversed ? 255 - i : i));
    };
    std::string out = "GIF89a";
    PutLe(out, static_cast<std::uint32_t>(layout.screenWidth > 0 ? layout.screenWidth : width), 2);
    PutLe(out, static_cast<std::uint32_t>(layout.screenHeight > 0 ? layout.screenHeight : height),
          2);
    out += '\xF7';  // a global table of 256 colours
    out += static_cast<char>(layout.background);
    out += '\0';
    grey(out, false);
    if (layout.transparent >= 0) {
        out += std::string("\x21\xF9\x04\x01\x00\x00", 6);
        out += static_cast<char>(layout.transparent);
        out += '\0';
    }
    out += ',';
    PutLe(out, static_cast<std::uint32_t>(layout.left), 2);
    PutLe(out, static_cast<std::uint32_t>(layout.top), 2);
    PutLe(out, static_cast<std::uint32_t>(width), 2);
    PutLe(out, static_cast<std::uint32_t>(height), 2);
    out += static_cast<char>((layout.interlaced ? 0x40 : 0) | (layout.localTable ? 0x87 : 0));
    if (layout.localTable) grey(out, true);
    out += '\x08';
    std::vector<int> rows;  // in the order the file holds them
    for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
        for (int y = start; layout.interlaced && y < height; y += step) rows.push_back(y);
    }
    for (int y = 0; !layout.interlaced && y < height; ++y) rows.push_back(y);
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    const auto put = [&](int code) {
        bits |= static_cast<std::uint32_t>(code) << count;
        for (count += 9; count >= 8; count -= 8, bits >>= 8)
            data.push_back(static_cast<char>(bits));
    };
    for (int i = 0; i < width * height; ++i) {
        if (i % 250 == 0) put(256);
        put(index(i % width, rows[static_cast<std::size_t>(i / width)]));
    }
    put(257);
    if (count > 0) data.push_back(static_cast<char>(bits));
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        out += static_cast<char>(block.size()) + block;
    }
    return out + std::string("\x00;", 2);
}

}  // namespace picture_files

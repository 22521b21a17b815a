// The row sources' own variants, each against pixels worked out here or shown by Qt's reader:
// TGA in every layout the reader takes, PNGs of the low bit depths that Qt's writer cannot make,
// and an orientation that only the fallback decoder reads.
#include <gtest/gtest.h>
#include <png.h>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QRgb>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/decode/DeepPngFile.h"
#include "tests/decode/LoadPictureSupport.h"
#include "tests/decode/PictureFiles.h"

namespace {

using namespace picture_files;

constexpr int kWidth = 7;
constexpr int kHeight = 4;

// Pairs of equal neighbours, so that run-length packets of both kinds come out.
std::uint32_t Argb(int x, int y) {
    const int v = x / 2 + 3 * y;
    return static_cast<std::uint32_t>((v * 40 + 90) % 256 << 24 | (v * 37) % 256 << 16 |
                                      (v * 91 + 7) % 256 << 8 | (255 - v * 13) % 256);
}

struct Tga {
    const char* what;
    int type;  // 1 colour-mapped, 2 true colour, 3 grey; +8 run-length encoded
    int depth;
    int descriptor;  // alpha bits, right to left (0x10), top down (0x20)
    std::function<std::uint32_t(int, int)> shown;  // the colour drawn over black, 0xRRGGBB
};

std::string Stored(const Tga& tga, std::uint32_t argb, const std::vector<std::uint32_t>& map) {
    std::string out;
    const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    switch (tga.depth) {
        case 8:
            if ((tga.type & 7) == 1) {
                for (std::size_t i = 0; i < map.size(); ++i) {
                    if (map[i] == argb) out += static_cast<char>(i);
                }
            } else {
                out += static_cast<char>(r);
            }
            break;
        case 16:
            PutLe(out, (r >> 3) << 10 | (g >> 3) << 5 | b >> 3, 2);
            break;
        default:
            PutLe(out, argb, tga.depth / 8);
    }
    return out;
}

std::string TgaFile(const Tga& tga) {
    std::vector<std::uint32_t> map;
    std::vector<std::uint32_t> pixels;  // in file order
    for (int row = 0; row < kHeight; ++row) {
        const int y = (tga.descriptor & 0x20) != 0 ? row : kHeight - 1 - row;
        for (int column = 0; column < kWidth; ++column) {
            const int x = (tga.descriptor & 0x10) != 0 ? kWidth - 1 - column : column;
            pixels.push_back(Argb(x, y));
            if (std::find(map.begin(), map.end(), Argb(x, y)) == map.end())
                map.push_back(Argb(x, y));
        }
    }
    const bool mapped = (tga.type & 7) == 1;
    std::string out;
    PutLe(out, 0, 1);
    PutLe(out, mapped ? 1 : 0, 1);
    PutLe(out, static_cast<std::uint32_t>(tga.type), 1);
    PutLe(out, 0, 2);
    PutLe(out, mapped ? static_cast<std::uint32_t>(map.size()) : 0, 2);
    PutLe(out, mapped ? 24 : 0, 1);
    PutLe(out, 0, 4);
    PutLe(out, kWidth, 2);
    PutLe(out, kHeight, 2);
    PutLe(out, static_cast<std::uint32_t>(tga.depth), 1);
    PutLe(out, static_cast<std::uint32_t>(tga.descriptor), 1);
    for (std::size_t i = 0; mapped && i < map.size(); ++i) PutLe(out, map[i], 3);
    for (std::size_t i = 0; i < pixels.size();) {
        if ((tga.type & 8) == 0) {
            out += Stored(tga, pixels[i++], map);
            continue;
        }
        // A run of equal pixels where there is one, a raw packet of one pixel otherwise; the
        // packets run on from one row into the next.
        std::size_t run = 1;
        while (i + run < pixels.size() && pixels[i + run] == pixels[i] && run < 128) ++run;
        out += static_cast<char>(run > 1 ? 0x80 | (run - 1) : 0);
        out += Stored(tga, pixels[i], map);
        i += run;
    }
    return out;
}

std::uint32_t Rgb(std::uint32_t argb) {
    return argb & 0xFFFFFF;
}
std::uint32_t Widened(int x, int y) {
    const std::uint32_t c = Argb(x, y);
    const auto five = [](std::uint32_t level) { return (level >> 3) << 3 | level >> 5; };
    return five((c >> 16) & 0xFF) << 16 | five((c >> 8) & 0xFF) << 8 | five(c & 0xFF);
}

TEST(FormatVariants, TgaInEveryLayout) {
    const auto opaque = [](int x, int y) { return Rgb(Argb(x, y)); };
    const auto grey = [](int x, int y) { return ((Argb(x, y) >> 16) & 0xFF) * 0x010101u; };
    const auto premultiplied = [](int x, int y) { return Rgb(qPremultiply(Argb(x, y))); };
    const Tga cases[] = {
        {"24 bits from the bottom", 2, 24, 0x00, opaque},
        {"24 bits from the top, right to left", 2, 24, 0x30, opaque},
        {"32 bits with alpha", 2, 32, 0x28, premultiplied},
        {"32 bits, no alpha declared", 2, 32, 0x20, opaque},
        {"16 bits", 2, 16, 0x20, Widened},
        {"colour-mapped", 1, 8, 0x20, opaque},
        {"grey", 3, 8, 0x00, grey},
        {"run-length 24 bits", 10, 24, 0x00, opaque},
        {"run-length 32 bits with alpha, right to left", 10, 32, 0x38, premultiplied},
        {"run-length colour-mapped", 9, 8, 0x20, opaque},
        {"run-length grey", 11, 8, 0x20, grey},
    };
    for (const Tga& tga : cases) {
        SCOPED_TRACE(tga.what);
        const PictureBox box = Load(TgaFile(tga));
        ASSERT_EQ(box.Width(), kWidth);
        ASSERT_EQ(box.Height(), kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                EXPECT_EQ(static_cast<std::uint32_t>(box.Point(x, y)), Colour(tga.shown(x, y)))
                    << x << ", " << y;
            }
        }
        EXPECT_EQ(FailureOfBytes(TgaFile(tga).substr(0, 30)),
                  "truncated picture: the file ends too soon");
    }
}

// A PNG of bitDepth-bit grey or palette indices (x + 2 y) % levels, written by libpng.
std::string LowDepthPng(int colourType, int bitDepth, bool interlaced) {
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    WritePngInto(png, bytes);
    png_set_IHDR(png, info, kWidth, kHeight, bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const int levels = 1 << bitDepth;
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;
    for (int i = 0; i < levels; ++i) {
        palette.push_back({static_cast<png_byte>(i * 60 % 256), static_cast<png_byte>(255 - i * 9),
                           static_cast<png_byte>(i * 17)});
        alphas.push_back(static_cast<png_byte>(255 - i * 15));
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, palette.data(), levels);
        png_set_tRNS(png, info, alphas.data(), levels, nullptr);
    }
    png_write_info(png, info);
    png_set_packing(png);
    std::vector<png_byte> row(kWidth);
    for (int pass = png_set_interlace_handling(png); pass > 0; --pass) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) row[x] = static_cast<png_byte>((x + 2 * y) % levels);
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

void ExpectAsQtShows(const std::string& bytes) {
    QImage image;
    ASSERT_TRUE(image.loadFromData(QByteArray::fromStdString(bytes)));
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const PictureBox box = Load(bytes);
    ASSERT_EQ(box.Width(), image.width());
    ASSERT_EQ(box.Height(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            EXPECT_EQ(static_cast<std::uint32_t>(box.Point(x, y)), Colour(Rgb(image.pixel(x, y))))
                << x << ", " << y;
        }
    }
}

TEST(FormatVariants, LowBitDepthPngsComeOutAsQtShowsThem) {
    for (const int type : {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_PALETTE}) {
        for (const int depth : {1, 2, 4, 8}) {
            for (const bool interlaced : {false, true}) {
                SCOPED_TRACE(std::to_string(type) + ", " + std::to_string(depth) + " bits" +
                             (interlaced ? ", interlaced" : ""));
                ExpectAsQtShows(LowDepthPng(type, depth, interlaced));
            }
        }
    }
}

// A TIFF's orientation comes from Qt's reader, in the picture helper, and is applied by position
// as a JPEG's is.
TEST(FormatVariants, TheFallbackDecodersOrientationIsApplied) {
    ASSERT_EQ(MissingEncoder("tiff"), "");
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) image.setPixel(x, y, Argb(x, y) | 0xFF000000);
    }
    for (const auto turn :
         {QImageIOHandler::TransformationRotate90, QImageIOHandler::TransformationMirror,
          QImageIOHandler::TransformationFlipAndRotate90}) {
        SCOPED_TRACE(static_cast<int>(turn));
        const std::string tiff = Encode(
            image, "tiff", -1, [turn](QImageWriter& writer) { writer.setTransformation(turn); });
        QByteArray data = QByteArray::fromStdString(tiff);
        QBuffer buffer(&data);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        const QImage turned = reader.read().convertToFormat(QImage::Format_RGB32);
        const PictureBox box = Load(tiff);
        ASSERT_EQ(box.Width(), turned.width());
        ASSERT_EQ(box.Height(), turned.height());
        for (int y = 0; y < turned.height(); ++y) {
            for (int x = 0; x < turned.width(); ++x) {
                EXPECT_EQ(static_cast<std::uint32_t>(box.Point(x, y)),
                          Colour(Rgb(turned.pixel(x, y))));
            }
        }
    }
}

}  // namespace

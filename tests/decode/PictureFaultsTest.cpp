#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <cstring>
#include <new>
#include <random>
#include <string>

#include "tests/decode/LoadPictureSupport.h"
#include "tests/decode/PictureFiles.h"

namespace {

using namespace picture_files;

const std::string kTruncated = "truncated picture: the file ends too soon";
const std::string kDamaged = "damaged picture data";

QImage Noise(int width, int height, unsigned seed) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.setPixel(x, y, random() & 0xFFFFFF);
    }
    return image;
}

std::string Repeat(const std::string& bytes, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += bytes;
    return out;
}

// Overwrites bytes in place, from at on.
void Patch(std::string& bytes, std::size_t at, const std::string& with) {
    for (std::size_t i = 0; i < with.size(); ++i) bytes.at(at + i) = with[i];
}

// An allocator whose buffers start out holding fill in every pixel.
PixelAllocator Dirty(std::uint32_t fill) {
    return [fill](std::size_t count) {
        PixelBuffer pixels = NewPixelBuffer(count);
        std::fill_n(pixels.get(), count, fill);
        return pixels;
    };
}

PixelBuffer NoMemory(std::size_t) {
    throw std::bad_alloc();
}

// ---- pixels a decoder had to make up

TEST(PictureFaults, PicturesWithMadeUpPixelsAreRefused) {
    const std::string gif = GifBytes(120, 90, [](int x, int y) { return (3 * x + y) % 256; });
    const std::string jpeg = Encode(Noise(256, 256, 7), "jpeg", 90);
    const std::size_t tables = jpeg.find("\xFF\xDB");
    const std::size_t middle = (jpeg.find("\xFF\xDA") + jpeg.size()) / 2;
    const std::string corrupt =
        jpeg.substr(0, middle) + Repeat(std::string("\xFF\x00", 2), 40) + jpeg.substr(middle + 80);
    // Cameras often leave a few bytes between segments: libjpeg warns, but loses nothing.
    const auto padded = [tables](const std::string& bytes) {
        return bytes.substr(0, tables) + std::string(4, '\0') + bytes.substr(tables);
    };
    const std::string endless = gif.substr(0, gif.size() - 2) + std::string(1, '\0');
    // The first block of coded data cut to 16 bytes, then the end of the data and the file.
    const std::size_t data = 13 + 768 + 11;
    const std::string shortData =
        gif.substr(0, data) + '\x10' + gif.substr(data + 1, 16) + '\0' + ';';
    struct Case {
        const char* what;
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"GIF cut at half", gif.substr(0, gif.size() / 2), kTruncated},
        {"GIF cut at 3/4", gif.substr(0, gif.size() * 3 / 4), kTruncated},
        {"GIF cut at 99%", gif.substr(0, gif.size() * 99 / 100), kTruncated},
        {"GIF whose coded data ends early", shortData, kDamaged},
        {"JPEG cut in half, end marker added", jpeg.substr(0, jpeg.size() / 2) + "\xFF\xD9",
         kDamaged},
        {"JPEG with corrupt coded data", corrupt, kDamaged},
        {"JPEG with camera padding, then corrupt coded data", padded(corrupt), kDamaged},
        {"JPEG with camera padding", padded(jpeg), ""},
        {"whole JPEG", jpeg, ""},
        {"whole GIF", gif, ""},
        {"GIF without its trailer", endless, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FailureOfBytes(c.bytes), c.reason);
    }
    // What loads is the picture itself.
    const PictureBox box = Load(padded(jpeg));
    const PictureBox plain = Load(jpeg);
    for (int y = 0; y < 256; y += 17) {
        for (int x = 0; x < 256; x += 13) ASSERT_EQ(box.Point(x, y), plain.Point(x, y));
    }
    EXPECT_EQ(static_cast<std::uint32_t>(Load(gif).Point(5, 7)), Colour(22, 22, 22));
}

// ---- the reason given

TEST(PictureFaults, ReasonsSayWhatHappened) {
    std::string huge = Encode(Noise(16, 16, 1), "jpeg", 90);
    const std::size_t frame = huge.find("\xFF\xC0");
    Patch(huge, frame + 5, "\xFF\xFF\xFF\xFF");  // 65535 x 65535
    const std::string gif = GifBytes(8, 8, [](int x, int) { return x; });
    std::string hugeGif = gif;
    const std::string side16384x16384("\x00\x40\x00\x40", 4);
    Patch(hugeGif, 6, side16384x16384);  // the screen and the picture
    Patch(hugeGif, 13 + 768 + 5, side16384x16384);
    std::string badTable = Encode(Noise(16, 16, 1), "jpeg", 90);
    badTable[badTable.find("\xFF\xDB") + 4] = '\x05';  // quantisation table 5 of 0..3
    struct Case {
        const char* what;
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        // Small files are read in one go, which proves nothing about how they end.
        {"small JPEG with a bad table", badTable, kDamaged},
        {"small GIF with garbage for a picture", gif.substr(0, 13 + 768) + Repeat("\x99", 50),
         kDamaged},
        {"JPEG declaring 65535 x 65535", huge.substr(0, 400), "picture too large (65535 x 65535)"},
        {"GIF declaring 16384 x 16384, holding 64 pixels", hugeGif, kDamaged},
        {"JPEG cut inside its header", huge.substr(0, frame + 4), kTruncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FailureOfBytes(c.bytes), c.reason);
    }
    // A system file says it is empty and yet has content.
    EXPECT_EQ(FailureOf("/proc/cpuinfo"), "not a picture, or in a format that cannot be read");
}

// ---- memory

TEST(PictureFaults, PictureThatDoesNotFitLeavesTheBoxAsItWas) {
    QImage grey(40, 30, QImage::Format_Grayscale8);
    grey.fill(90);
    QImage deep(40, 30, QImage::Format_RGBA64);
    deep.fill(Qt::red);
    const Bmp rle{5, 2, 8, kBiRle8, std::vector<std::uint32_t>(256, 0x123456), "\x05\x01\x00\x01"};
    // A tiny file that declares a picture of 576 megabytes.
    std::string bigJpeg = Encode(Noise(16, 16, 2), "jpeg", 90);
    Patch(bigJpeg, bigJpeg.find("\xFF\xC0") + 5, "\x2E\xE0\x2E\xE0");  // 12000 x 12000
    struct Case {
        const char* what;
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"JPEG", Encode(Noise(40, 30, 3), "jpeg"), "not enough memory to load a 40 x 30 picture"},
        {"grey PNG", Encode(grey, "png"), "not enough memory to load a 40 x 30 picture"},
        {"16-bit PNG", Encode(deep, "png"), "not enough memory to load a 40 x 30 picture"},
        {"run-length BMP", BmpBytes(rle), "not enough memory to load a 5 x 2 picture"},
        {"JPEG declaring 12000 x 12000", bigJpeg,
         "not enough memory to load a 12000 x 12000 picture"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PictureBox box;
        box.SetPicture(2, 1, {Colour(1, 2, 3), Colour(4, 5, 6)});
        TempFolder folder;
        WriteFileBytes(folder / "picture", c.bytes);
        EXPECT_EQ(FailureOf(folder / "picture", box, NoMemory), c.reason);
        EXPECT_EQ(box.Width(), 2);
        EXPECT_EQ(box.Height(), 1);
        EXPECT_EQ(static_cast<std::uint32_t>(box.Point(1, 0)), Colour(4, 5, 6));
    }
}

// ---- run-length BMPs

TEST(PictureFaults, PixelsThatRunsSkipAreBlack) {
    using namespace std::string_literals;
    struct Case {
        int bits;
        std::uint32_t compression;
        std::string data;
        std::vector<std::vector<int>> rows;  // top row first; -1 is skipped
    };
    const Case cases[] = {
        // Bottom row: two 1s, then a jump of two right and one up; there, one 2, the end of the
        // line, and the end of the bitmap before anything of the top row.
        {8,
         kBiRle8,
         "\x02\x01\x00\x02\x02\x01\x01\x02\x00\x00\x00\x01"s,
         {{-1, -1, -1, -1, -1}, {-1, -1, -1, -1, 2}, {1, 1, -1, -1, -1}}},
        // The same in nibbles.
        {4,
         kBiRle4,
         "\x02\x11\x00\x02\x02\x01\x01\x20\x00\x00\x00\x01"s,
         {{-1, -1, -1, -1, -1}, {-1, -1, -1, -1, 2}, {1, 1, -1, -1, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        // Index 0 is not black, so memory the decoder never wrote cannot pass for black.
        std::vector<std::uint32_t> palette(1 << c.bits, 0x808080);
        palette[1] = 0xFF0000;
        palette[2] = 0x00FF00;
        const std::string bytes = BmpBytes(Bmp{5, 3, c.bits, c.compression, palette, c.data});
        for (std::uint32_t fill : {0x00000000u, 0xFFFFFFFFu, 0x5A5A5A5Au}) {
            SCOPED_TRACE(fill);
            const PictureBox box = Load(bytes, "picture", Dirty(fill));
            ASSERT_EQ(box.Width(), 5);
            ASSERT_EQ(box.Height(), 3);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 5; ++x) {
                    const int index = c.rows[y][x];
                    const std::uint32_t wanted = index < 0 ? 0 : Colour(palette[index]);
                    EXPECT_EQ(static_cast<std::uint32_t>(box.Point(x, y)), wanted)
                        << x << ", " << y;
                }
            }
        }
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "decode/LoadPicture.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"
#include "tests/TempFolder.h"
#include "tests/decode/DeepPngFile.h"
#include "tests/decode/LoadPictureSupport.h"
#include "tests/decode/PictureFiles.h"

namespace {

using namespace picture_files;

// ---- BMP variants

constexpr int kWidth = 5;
constexpr int kHeight = 3;

std::vector<std::uint32_t> Palette(int count) {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back(static_cast<std::uint32_t>((i * 37 + 11) % 256 << 16 |
                                                     (i * 91 + 7) % 256 << 8 | (255 - i)));
    }
    return palette;
}

std::uint32_t IndexAt(int x, int y, int colours) {
    return static_cast<std::uint32_t>(x + 2 * y) % colours;
}

int RedAt(int x, int) {
    return 40 * x + 1;
}
int GreenAt(int, int y) {
    return 70 * y + 2;
}
int BlueAt(int x, int y) {
    return 10 * x + 20 * y + 3;
}

void ExpectPixels(const PictureBox& box, int width, int height,
                  const std::function<std::uint32_t(int, int)>& expected) {
    ASSERT_EQ(box.Width(), width);
    ASSERT_EQ(box.Height(), height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(static_cast<std::uint32_t>(box.Point(x, y)), expected(x, y))
                << "at " << x << ", " << y;
        }
    }
}

TEST(LoadPicture, IndexedBmps) {
    for (int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        const int colours = 1 << bits;
        Bmp bmp{kWidth, kHeight, bits, kBiRgb, Palette(colours), {}};
        bmp.pixelData = PackRows(kWidth, kHeight, bits, false,
                                 [&](int x, int y) { return IndexAt(x, y, colours); });
        const auto palette = bmp.palette;
        ExpectPixels(Load(BmpBytes(bmp)), kWidth, kHeight,
                     [&](int x, int y) { return Colour(palette[IndexAt(x, y, colours)]); });
    }
}

TEST(LoadPicture, TrueColourBmps) {
    struct Case {
        int bits;
        bool topDown;
        std::function<std::uint32_t(int, int)> stored;
        std::function<std::uint32_t(int, int)> expected;
    };
    const auto bgr = [](int x, int y) {
        return static_cast<std::uint32_t>(BlueAt(x, y) | GreenAt(x, y) << 8 | RedAt(x, y) << 16);
    };
    const auto exact = [](int x, int y) {
        return Colour(RedAt(x, y), GreenAt(x, y), BlueAt(x, y));
    };
    // 16-bit pixels are 5-5-5; each 5-bit level comes back as level * 8.
    const auto level = [](int value) { return value >> 3; };
    const Case cases[] = {
        {24, false, bgr, exact},
        {24, true, bgr, exact},
        {32, false, bgr, exact},
        {16, false,
         [&](int x, int y) {
             return static_cast<std::uint32_t>(level(BlueAt(x, y)) | level(GreenAt(x, y)) << 5 |
                                               level(RedAt(x, y)) << 10);
         },
         [&](int x, int y) {
             return Colour(level(RedAt(x, y)) * 8, level(GreenAt(x, y)) * 8,
                           level(BlueAt(x, y)) * 8);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + (c.topDown ? " top-down" : ""));
        Bmp bmp{kWidth, c.topDown ? -kHeight : kHeight, c.bits, kBiRgb, {}, {}};
        bmp.pixelData = PackRows(kWidth, kHeight, c.bits, c.topDown, c.stored);
        ExpectPixels(Load(BmpBytes(bmp)), kWidth, kHeight, c.expected);
    }
}

TEST(LoadPicture, RunLengthEncodedBmps) {
    using namespace std::string_literals;
    struct Case {
        int bits;
        std::uint32_t compression;
        std::string data;
        std::vector<std::vector<int>> rows;  // top row first
    };
    const Case cases[] = {
        // Bottom row: a run of five 1s. Top row: three literal pixels (padded to a word), then a
        // run of two 0s, then the end of the bitmap.
        {8,
         kBiRle8,
         "\x05\x01\x00\x00\x00\x03\x02\x03\x01\x00\x02\x00\x00\x01"s,
         {{2, 3, 1, 0, 0}, {1, 1, 1, 1, 1}}},
        // Bottom row: a run of five alternating 1 and 2. Top row: three literal nibbles, then a
        // run of two 6s.
        {4,
         kBiRle4,
         "\x05\x12\x00\x00\x00\x03\x34\x50\x02\x66\x00\x01"s,
         {{3, 4, 5, 6, 6}, {1, 2, 1, 2, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const Bmp bmp{5, 2, c.bits, c.compression, Palette(1 << c.bits), c.data};
        ExpectPixels(Load(BmpBytes(bmp)), 5, 2,
                     [&](int x, int y) { return Colour(bmp.palette[c.rows[y][x]]); });
    }
}

// ---- JPEG variants

// Four flat quadrants, which survive lossy compression nearly unchanged at their centres.
QImage Quadrants(int size = 64) {
    QImage image(size, size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int half = size / 2;
    painter.fillRect(0, 0, half, half, QColor(220, 30, 30));
    painter.fillRect(half, 0, half, half, QColor(30, 200, 40));
    painter.fillRect(0, half, half, half, QColor(40, 50, 210));
    painter.fillRect(half, half, half, half, QColor(128, 128, 128));
    return image;
}

void ExpectNear(const PictureBox& box, int x, int y, int red, int green, int blue) {
    const auto v = static_cast<std::uint32_t>(box.Point(x, y));
    EXPECT_NEAR(static_cast<int>(v & 0xFF), red, 8) << "red at " << x << ", " << y;
    EXPECT_NEAR(static_cast<int>((v >> 8) & 0xFF), green, 8) << "green at " << x << ", " << y;
    EXPECT_NEAR(static_cast<int>((v >> 16) & 0xFF), blue, 8) << "blue at " << x << ", " << y;
    EXPECT_EQ(v >> 24, 0u);
}

void ExpectQuadrants(const PictureBox& box, int size = 64) {
    ASSERT_EQ(box.Width(), size);
    ASSERT_EQ(box.Height(), size);
    const int q = size / 4;
    ExpectNear(box, q, q, 220, 30, 30);
    ExpectNear(box, 3 * q, q, 30, 200, 40);
    ExpectNear(box, q, 3 * q, 40, 50, 210);
    ExpectNear(box, 3 * q, 3 * q, 128, 128, 128);
}

TEST(LoadPicture, JpegsWrittenByQt) {
    ExpectQuadrants(Load(Encode(Quadrants(), "jpeg", 95)));
    ExpectQuadrants(Load(Encode(Quadrants(), "jpeg", 95, [](QImageWriter& writer) {
        writer.setProgressiveScanWrite(true);
    })));
    ExpectQuadrants(Load(Encode(Quadrants(), "jpeg", 95,
                                [](QImageWriter& writer) { writer.setOptimizedWrite(true); })));

    QImage grey(64, 64, QImage::Format_Grayscale8);
    grey.fill(90);
    const PictureBox box = Load(Encode(grey, "jpeg", 95));
    ExpectNear(box, 10, 10, 90, 90, 90);
}

// Chroma subsampling, restart markers and arithmetic coding, made by libjpeg-turbo's cjpeg, which
// the test command installs.
TEST(LoadPicture, JpegVariantsFromCjpeg) {
    const char* cjpeg = "/usr/bin/cjpeg";
    ASSERT_TRUE(std::filesystem::exists(cjpeg))
        << cjpeg << " is missing: install the package libjpeg-turbo-progs";
    TempFolder folder;
    WriteFileBytes(folder / "in.ppm", Encode(Quadrants(), "ppm"));
    const char* variants[] = {"-sample 1x1", "-sample 2x1",
                              "-sample 1x2", "-sample 2x2",
                              "-sample 4x1", "-progressive",
                              "-grayscale",  "-restart 1",
                              "-arithmetic", "-progressive -sample 1x1 -optimize"};
    for (const char* options : variants) {
        SCOPED_TRACE(options);
        const std::string out = folder / "out.jpg";
        const std::string command = std::string(cjpeg) + " -quality 95 " + options + " -outfile '" +
                                    out + "' '" + (folder / "in.ppm") + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        PictureBox box;
        LoadPicture(out, box);
        if (std::string(options) == "-grayscale") {
            ExpectNear(box, 16, 16, 86, 86, 86);  // the luma of (220, 30, 30)
        } else {
            ExpectQuadrants(box);
        }
    }
}

// ---- orientation, transparency, other formats

TEST(LoadPicture, ExifOrientationIsApplied) {
    // 40 x 20: red on the left half, blue on the right.
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 230));
    QPainter(&image).fillRect(0, 0, 20, 20, QColor(230, 0, 0));
    const std::string jpeg = Encode(image, "jpeg", 95);
    struct Case {
        int orientation;
        int width, height;
        int redX, redY;  // a pixel that must be red
        int blueX, blueY;
    };
    const Case cases[] = {
        {1, 40, 20, 5, 10, 35, 10},
        {3, 40, 20, 35, 10, 5, 10},  // turned half round
        {6, 20, 40, 10, 5, 10, 35},  // turned a quarter clockwise: the left edge is now the top
        {8, 20, 40, 10, 35, 10, 5},  // a quarter anticlockwise
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        const PictureBox box = Load(WithExifOrientation(jpeg, c.orientation));
        ASSERT_EQ(box.Width(), c.width);
        ASSERT_EQ(box.Height(), c.height);
        ExpectNear(box, c.redX, c.redY, 230, 0, 0);
        ExpectNear(box, c.blueX, c.blueY, 0, 0, 230);
    }
}

TEST(LoadPicture, TransparencyIsFlattenedOntoBlack) {
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 255, 255, 0));
    image.setPixel(1, 0, qRgba(255, 0, 0, 128));
    image.setPixel(2, 0, qRgba(0, 255, 0, 255));
    const PictureBox box = Load(Encode(image, "png"));
    EXPECT_EQ(box.Point(0, 0), 0);
    EXPECT_EQ(box.Point(1, 0), 128);
    EXPECT_EQ(box.Point(2, 0), 255 << 8);
}

TEST(LoadPicture, LosslessFormatsLoadExactlyWhateverTheirName) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y, qRgb(RedAt(x, y), GreenAt(x, y), BlueAt(x, y)));
    }
    const auto exact = [](int x, int y) {
        return Colour(RedAt(x, y), GreenAt(x, y), BlueAt(x, y));
    };
    for (const char* format : {"png", "ppm", "bmp", "tiff"}) {
        SCOPED_TRACE(format);
        ASSERT_EQ(MissingEncoder(format), "");
        ExpectPixels(Load(Encode(image, format), "picture.jpg"), kWidth, kHeight, exact);
    }
}

// "All Files" opens the other formats Qt reads through its image format plugins.
TEST(LoadPicture, FormatsFromThePluginsLoad) {
    constexpr int kSide = 16;  // ICNS holds square pictures only
    QImage image(kSide, kSide, QImage::Format_RGB32);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) image.setPixel(x, y, qRgb(15 * x, 15 * y, 255 - 8 * x));
    }
    const auto exact = [&image](int x, int y) { return Colour(image.pixel(x, y)); };
    for (const char* format : {"webp", "icns"}) {
        SCOPED_TRACE(format);
        ASSERT_EQ(MissingEncoder(format), "");
        ExpectPixels(Load(Encode(image, format, 100), "picture.bmp"), kSide, kSide, exact);
    }
    SCOPED_TRACE("tga");
    ExpectPixels(Load(TgaBytes(kSide, kSide, [&image](int x, int y) { return image.pixel(x, y); })),
                 kSide, kSide, exact);
}

// A file manager offers Quillix for the picture types its desktop entry names; each is one that
// Qt reads here.
TEST(LoadPicture, TheDesktopEntryNamesPictureTypesThatLoad) {
    QFile entry(QStringLiteral(QUILLIX_DESKTOP_ENTRY));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly)) << QUILLIX_DESKTOP_ENTRY;
    QByteArrayList types;
    for (const QByteArray& line : entry.readAll().split('\n')) {
        if (line.startsWith("MimeType=")) types = line.mid(9).split(';');
    }
    types.removeAll(QByteArray());
    EXPECT_GE(types.size(), 10);
    const QList<QByteArray> read = QImageReader::supportedMimeTypes();
    for (const QByteArray& type : types) EXPECT_TRUE(read.contains(type)) << type.toStdString();
}

// A photograph-sized picture takes the path where a second core prepares the buffers and the
// colour values are converted in two halves; every row must still land in its place.
TEST(LoadPicture, LargePicturesLoadExactly) {
    constexpr int kBigWidth = 2048;
    constexpr int kBigHeight = 2101;  // odd, so that the halves differ in size
    const auto stored = [](int x, int y) {
        return static_cast<std::uint32_t>((x * 7 + y) % 256 | (y % 256) << 8 | (x % 256) << 16);
    };
    Bmp bmp{kBigWidth, kBigHeight, 24, kBiRgb, {}, {}};
    bmp.pixelData = PackRows(kBigWidth, kBigHeight, 24, false, stored);
    const PictureBox box = Load(BmpBytes(bmp));
    ASSERT_EQ(box.Width(), kBigWidth);
    ASSERT_EQ(box.Height(), kBigHeight);
    for (int y = 0; y < kBigHeight; ++y) {
        for (int x : {0, y % kBigWidth, kBigWidth - 1}) {
            const std::uint32_t bgr = stored(x, y);
            ASSERT_EQ(static_cast<std::uint32_t>(box.Point(x, y)),
                      Colour((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF))
                << x << ", " << y;
        }
    }
}

// ---- size limit

TEST(LoadPicture, SidesUpToTheLimitLoad) {
    Bmp bmp{kMaxPictureSide, 1, 24, kBiRgb, {}, {}};
    bmp.pixelData = PackRows(kMaxPictureSide, 1, 24, false, [](int x, int) { return x % 256; });
    const PictureBox box = Load(BmpBytes(bmp));
    EXPECT_EQ(box.Width(), kMaxPictureSide);
    EXPECT_EQ(static_cast<std::uint32_t>(box.Point(kMaxPictureSide - 1, 0)), Colour(0, 0, 255));
}

TEST(LoadPicture, LargerPicturesAreRefusedBeforeDecoding) {
    // Headers alone, claiming pictures far larger than their bodies; refused from the header.
    struct Case {
        int width, height;
        std::string reason;
    };
    const Case cases[] = {
        {20000, 20000, "picture too large (20000 x 20000)"},
        {kMaxPictureSide + 1, 1, "picture too large (16385 x 1)"},
        {1, kMaxPictureSide + 1, "picture too large (1 x 16385)"},
        {100000, 100000, "picture too large (100000 x 100000)"},
    };
    for (const Case& c : cases) {
        const Bmp bmp{c.width, c.height, 24, kBiRgb, {}, std::string(64, '\x55')};
        EXPECT_EQ(FailureOfBytes(BmpBytes(bmp)), c.reason);
    }
}

// ---- bad files

TEST(LoadPicture, FilesThatAreNotPicturesNameTheReason) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "folder.bmp");
    WriteFileBytes(folder / "empty.bmp", "");
    EXPECT_EQ(FailureOf(folder / "missing.bmp"), "file not found");
    EXPECT_EQ(FailureOf(folder / "folder.bmp"), "is a folder, not a picture file");
    EXPECT_EQ(FailureOf(folder / "empty.bmp"), "empty file");
    EXPECT_EQ(FailureOf("/dev/null"), "not a regular file");
}

TEST(LoadPicture, GarbageIsRefusedWithoutHarm) {
    std::mt19937 random(3);
    std::string noise(5000, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xFF);
    const std::string garbage[] = {
        noise,
        std::string(5000, '\0'),
        std::string(5000, '\xFF'),
        "This is a text file, not a picture.\n",
        "BM" + noise,
        "\xFF\xD8\xFF" + noise,
        "\xFF\xD8\xFF\xE0" + std::string(2, '\0') + noise,
        "\x89PNG\r\n\x1A\n" + noise,
        "GIF89a" + noise,
        "P6\n99999 99999\n255\n" + noise,
        "II*\0" + noise,
    };
    for (const std::string& bytes : garbage) {
        SCOPED_TRACE(bytes.substr(0, 8));
        EXPECT_NE(FailureOfBytes(bytes), "");
    }
}

TEST(LoadPicture, TruncatedFilesAreRefused) {
    Bmp bmp{64, 64, 24, kBiRgb, {}, {}};
    bmp.pixelData = PackRows(64, 64, 24, false, [](int x, int y) { return x * 4 + y * 1000; });
    const std::string bmpBytes = BmpBytes(bmp);
    const std::size_t rowBytes = 64 * 3;

    QImage noise(256, 256, QImage::Format_RGB32);
    std::mt19937 random(5);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) noise.setPixel(x, y, random() & 0xFFFFFF);
    }
    const std::string jpeg = Encode(noise, "jpeg", 90);
    const std::string progressive = Encode(
        noise, "jpeg", 90, [](QImageWriter& writer) { writer.setProgressiveScanWrite(true); });
    const std::string png = Encode(noise, "png");
    QImage ramp(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) ramp.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    }
    const std::string rampPng = Encode(ramp, "png");

    const std::string cut[] = {
        bmpBytes.substr(0, bmpBytes.size() / 2),
        bmpBytes.substr(0, bmpBytes.size() - rowBytes),  // at a row's end
        bmpBytes.substr(0, bmpBytes.size() - 1),
        jpeg.substr(0, jpeg.size() / 2),
        jpeg.substr(0, jpeg.size() - 2),  // only the end-of-image marker missing
        progressive.substr(0, progressive.size() / 2),
        progressive.substr(0, progressive.size() * 9 / 10),
        png.substr(0, png.size() / 2),
        rampPng.substr(0, rampPng.size() * 6 / 10),
        rampPng.substr(0, rampPng.size() - 12),  // only the end chunk missing
        jpeg.substr(0, 300),
    };
    for (const std::string& bytes : cut) {
        SCOPED_TRACE(bytes.size());
        EXPECT_EQ(FailureOfBytes(bytes), "truncated picture: the file ends too soon");
    }
}

TEST(LoadPicture, FailureLeavesTheBoxAsItWas) {
    PictureBox box;
    box.SetPicture(2, 1, {Colour(1, 2, 3), Colour(4, 5, 6)});
    TempFolder folder;
    WriteFileBytes(folder / "bad.jpg", "\xFF\xD8\xFF garbage");
    EXPECT_THROW(LoadPicture(folder / "bad.jpg", box), FileError);
    EXPECT_EQ(box.Width(), 2);
    EXPECT_EQ(static_cast<std::uint32_t>(box.Point(1, 0)), Colour(4, 5, 6));
}

}  // namespace

namespace {

// ---- one copy in memory: every decoder layout and every orientation, converted and turned in
// the box's own memory, comes out as Qt's own conversion and transformation of the whole picture

// What the box should show for an image, worked out by Qt on a copy of its own.
void ExpectAsQtShows(const PictureBox& box, QImage image) {
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32);
    ASSERT_EQ(box.Width(), image.width());
    ASSERT_EQ(box.Height(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            ASSERT_EQ(static_cast<std::uint32_t>(box.Point(x, y)),
                      Colour(qRed(pixel), qGreen(pixel), qBlue(pixel)))
                << x << ", " << y;
        }
    }
}

QImage Pattern(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           qRgba(x * 37 % 256, y * 53 % 256, (x * y) % 256, (x + y) * 29 % 256));
        }
    }
    if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono) {
        return image.convertToFormat(format, Qt::ThresholdDither);
    }
    return image.convertToFormat(format);
}

TEST(LoadPicture, EveryDecoderLayoutComesOutAsQtConvertsIt) {
    struct Case {
        const char* what;
        QImage::Format format;
        const char* file;
    };
    const Case cases[] = {
        {"grey PNG", QImage::Format_Grayscale8, "png"},
        {"16-bit grey PNG", QImage::Format_Grayscale16, "png"},
        {"16-bit RGB PNG", QImage::Format_RGBX64, "png"},
        {"16-bit RGBA PNG", QImage::Format_RGBA64, "png"},
        {"RGBA PNG", QImage::Format_ARGB32, "png"},
        {"palette PNG with transparency", QImage::Format_Indexed8, "png"},
        {"1-bit PNG", QImage::Format_Mono, "png"},
        {"palette BMP", QImage::Format_Indexed8, "bmp"},
        {"1-bit BMP", QImage::Format_Mono, "bmp"},
    };
    for (const Case& c : cases) {
        for (int width : {1, 3, 37}) {
            SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(width) + " wide");
            const std::string bytes = Encode(Pattern(width, 23, c.format), c.file);
            QImage decoded;
            ASSERT_TRUE(decoded.loadFromData(QByteArray::fromStdString(bytes)));
            ExpectAsQtShows(Load(bytes, "picture",
                                 [](std::size_t count) {
                                     PixelBuffer pixels = NewPixelBuffer(count);
                                     std::fill_n(pixels.get(), count, 0xA5A5A5A5u);
                                     return pixels;
                                 }),
                            decoded);
        }
    }
}

// GIF is read by giflib; the picture comes out as Qt's reader shows it, placed on its screen.
TEST(LoadPicture, GifsComeOutAsQtShowsThem) {
    struct Case {
        const char* what;
        GifLayout layout;
    };
    const Case cases[] = {
        {"plain", {}},
        {"interlaced", {.interlaced = true}},
        {"with a table of its own", {.localTable = true}},
        {"with a transparent colour", {.transparent = 5}},
        {"on a larger screen",
         {.screenWidth = 40, .screenHeight = 30, .left = 3, .top = 4, .background = 200}},
        {"on a larger screen, transparent",
         {.screenWidth = 40,
          .screenHeight = 30,
          .left = 3,
          .top = 4,
          .background = 200,
          .transparent = 9}},
        {"overhanging its screen", {.screenWidth = 31, .screenHeight = 20, .left = 9, .top = 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string gif = GifBytes(
            29, 17, [](int x, int y) { return (x * 7 + y * 3) % 256; }, c.layout);
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(QByteArray::fromStdString(gif)));
        ExpectAsQtShows(Load(gif), decoded);
    }
}

// The colour-keyed RGB picture DeepPng writes, read as it is stored: Qt 6.4 reads such a file as
// four channels and shows whatever memory held beyond the three it got.
QImage KeyedRgbAsStored(int width, int height) {
    QImage image(width, height, QImage::Format_RGBA64);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool key = x % 4 == 0 && y % 3 == 0;
            image.setPixelColor(
                x, y,
                QColor::fromRgba64(key ? QRgba64::fromRgba64(0, 0, 0, 0)
                                       : QRgba64::fromRgba64(DeepPngSample(x, y, 0),
                                                             DeepPngSample(x, y, 1),
                                                             DeepPngSample(x, y, 2), 0xFFFF)));
        }
    }
    return image;
}

// Interlaced or colour-keyed 16-bit PNGs come out as Qt shows them; narrow or short pictures leave
// some of the seven passes empty.
TEST(LoadPicture, DeepPngsOfEveryKindComeOutAsQtShowsThem) {
    struct Case {
        const char* what;
        int colourType;
        bool interlaced;
        bool keyed;
    };
    const Case cases[] = {
        {"interlaced RGB", PNG_COLOR_TYPE_RGB, true, false},
        {"interlaced RGBA", PNG_COLOR_TYPE_RGBA, true, false},
        {"interlaced grey and alpha", PNG_COLOR_TYPE_GRAY_ALPHA, true, false},
        {"colour-keyed RGB", PNG_COLOR_TYPE_RGB, false, true},
        {"colour-keyed grey", PNG_COLOR_TYPE_GRAY, false, true},
        {"interlaced colour-keyed RGB", PNG_COLOR_TYPE_RGB, true, true},
    };
    for (const Case& c : cases) {
        for (const QSize size : {QSize(1, 23), QSize(3, 23), QSize(37, 23), QSize(37, 3)}) {
            const int width = size.width(), height = size.height();
            SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(width) + " x " +
                         std::to_string(height));
            const std::string bytes = DeepPng(width, height, c.colourType, c.interlaced, c.keyed);
            const QByteArray data = QByteArray::fromStdString(bytes);
            QImage decoded;
            ASSERT_TRUE(decoded.loadFromData(data));
            const bool keyedRgb = c.keyed && c.colourType == PNG_COLOR_TYPE_RGB;
            ExpectAsQtShows(Load(bytes), keyedRgb ? KeyedRgbAsStored(width, height) : decoded);
        }
    }
}

TEST(LoadPicture, EveryOrientationComesOutAsQtTurnsIt) {
    for (const QSize size : {QSize(37, 23), QSize(16, 16), QSize(1, 5)}) {
        const std::string jpeg =
            Encode(Pattern(size.width(), size.height(), QImage::Format_RGB32), "jpeg", 95);
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()) +
                         ", orientation " + std::to_string(orientation));
            const std::string bytes = WithExifOrientation(jpeg, orientation);
            QByteArray data = QByteArray::fromStdString(bytes);
            QBuffer buffer(&data);
            QImageReader reader(&buffer);
            reader.setAutoTransform(true);
            QImage turned;
            ASSERT_TRUE(reader.read(&turned));
            ExpectAsQtShows(Load(bytes), turned);
        }
    }
}

}  // namespace

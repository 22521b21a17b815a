// The converter's way (the rows sampled as they decode, only the rows and columns the grid needs)
// against the window's (the picture box filled from the same rows, then sampled): the same
// samples for every variant, the same refusals.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "decode/LoadPicture.h"
#include "decode/OpenPicture.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"
#include "sample/SamplePicture.h"
#include "sample/SampleRows.h"
#include "tests/TempFolder.h"
#include "tests/decode/LoadPictureSupport.h"
#include "tests/decode/PictureFiles.h"

namespace {

using namespace picture_files;

std::optional<Samples> StreamSamples(const std::string& path, Fit fit,
                                     Sampling sampling = Sampling::Point) {
    return SampleRows(*OpenPicture(path), fit, sampling);
}

void ExpectSameSamples(const std::string& path, Fit fit = Fit::Stretch,
                       Sampling sampling = Sampling::Point) {
    std::vector<std::int32_t> wanted;
    {
        PictureBox source;
        LoadPicture(path, source);
        wanted = SamplePicture(source, fit, sampling).Colours();
    }
    const std::optional<Samples> streamed = StreamSamples(path, fit, sampling);
    const std::vector<std::int32_t>& got = streamed->Colours();
    ASSERT_EQ(got.size(), wanted.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i], wanted[i])
            << "sample at " << i % kGridColumns << ", " << i / kGridColumns;
    }
}

TEST(StreamSamples, JpegVariantsSampleAsTheWindowDoes) {
    const char* variants[] = {"-sample 1x1",
                              "-sample 2x1",
                              "-sample 2x2",
                              "-sample 1x2",
                              "-sample 4x1",
                              "-progressive",
                              "-grayscale",
                              "-restart 1",
                              "-restart 2 -sample 2x2",
                              "-arithmetic",
                              "-progressive -sample 1x1"};
    struct Size {
        int width, height;
    };
    // Both front ends decode with the one decoder, so what is left to compare is where the
    // converter skips: odd sizes, far fewer and far more rows and columns than the grid, and a tall
    // picture that skips whole rows of blocks between samples.
    const Size sizes[] = {{641, 479}, {3, 5}, {50, 4999}};
    TempFolder folder;
    for (const Size& size : sizes) {
        const QImage photo = Photo(size.width, size.height);
        for (const char* options : variants) {
            SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height) + " " +
                         options);
            WriteFileBytes(folder / "photo.jpg", Cjpeg(folder, photo, options));
            ExpectSameSamples(folder / "photo.jpg");
        }
    }
}

TEST(StreamSamples, EveryExifOrientationComesOutUpright) {
    TempFolder folder;
    const std::string jpeg = Cjpeg(folder, Photo(701, 333), "-sample 2x2");
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        WriteFileBytes(folder / "turned.jpg", WithExifOrientation(jpeg, orientation));
        ExpectSameSamples(folder / "turned.jpg");
    }
}

// Keep and fill place the grid as the window does, black borders included, turned or not.
TEST(StreamSamples, EveryFitPlacesTheGridAsTheWindowDoes) {
    TempFolder folder;
    for (const auto& [width, height] : {std::pair{701, 333}, std::pair{333, 701}}) {
        const std::string jpeg = Cjpeg(folder, Photo(width, height), "-sample 2x2");
        for (const int orientation : {1, 6}) {
            WriteFileBytes(folder / "placed.jpg", WithExifOrientation(jpeg, orientation));
            for (const Fit fit : {Fit::Keep, Fit::Fill}) {
                SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) +
                             ", orientation " + std::to_string(orientation) + ", fit " +
                             std::to_string(static_cast<int>(fit)));
                ExpectSameSamples(folder / "placed.jpg", fit);
            }
        }
    }
}

TEST(StreamSamples, BmpVariantsSampleAsTheWindowDoes) {
    struct Case {
        int bits;
        bool topDown;
        int colours;  // in the palette; fewer than the bits allow leaves indices beyond it
    };
    const Case cases[] = {{1, false, 2},  {1, true, 2},    {4, false, 16}, {4, true, 16},
                          {4, false, 9},  {8, false, 256}, {8, true, 256}, {8, false, 100},
                          {24, false, 0}, {24, true, 0},   {32, false, 0}, {32, true, 0}};
    struct Size {
        int width, height;
    };
    const Size sizes[] = {{5, 3}, {701, 333}};
    TempFolder folder;
    for (const Case& c : cases) {
        for (const Size& size : sizes) {
            SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.colours) +
                         " colours" + (c.topDown ? ", top down, " : ", ") +
                         std::to_string(size.width) + " x " + std::to_string(size.height));
            std::vector<std::uint32_t> palette;
            for (int i = 0; i < c.colours; ++i) {
                palette.push_back(static_cast<std::uint32_t>(i * 0x010305 + 0x102030) & 0xFFFFFF);
            }
            const Bmp bmp{size.width,
                          c.topDown ? -size.height : size.height,
                          c.bits,
                          kBiRgb,
                          palette,
                          PackRows(size.width, size.height, c.bits, c.topDown, [&](int x, int y) {
                              const auto v =
                                  static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u);
                              return c.bits >= 24 ? v : v % (1u << c.bits);
                          })};
            WriteFileBytes(folder / "picture.bmp", BmpBytes(bmp));
            ExpectSameSamples(folder / "picture.bmp");
        }
    }
}

// Formats and variants that once only the window's decoder read sample the same way too.
TEST(StreamSamples, EveryFormatSamplesAsTheWindowDoes) {
    TempFolder folder;
    const Bmp rle{5,
                  2,
                  8,
                  kBiRle8,
                  std::vector<std::uint32_t>(256, 0x405060),
                  std::string("\x05\x01\x00\x01", 4)};
    const Bmp sixteen{5, 2, 16, kBiRgb, {}, PackRows(5, 2, 16, false, [](int, int) { return 7; })};
    const std::string files[] = {Encode(Photo(40, 30), "png"),
                                 BmpBytes(rle),
                                 BmpBytes(sixteen),
                                 GifBytes(33, 21, [](int x, int y) { return (x * y) % 256; }),
                                 TgaBytes(37, 19, [](int x, int y) { return x * 0x10203u + y; }),
                                 Encode(Photo(40, 30), "ppm")};
    for (const std::string& bytes : files) {
        SCOPED_TRACE(bytes.substr(0, 4));
        WriteFileBytes(folder / "picture", bytes);
        for (const Sampling sampling : {Sampling::Point, Sampling::Area}) {
            ExpectSameSamples(folder / "picture", Fit::Fill, sampling);
        }
    }
}

// The reason the streaming path gives for a file, or "" when it samples it.
std::string StreamFailure(const std::string& bytes, Sampling sampling) {
    TempFolder folder;
    WriteFileBytes(folder / "picture", bytes);
    try {
        StreamSamples(folder / "picture", Fit::Stretch, sampling);
    } catch (const FileError& error) {
        return error.Reason();
    }
    return "";
}

// The JPEG with its header claiming width x height: a small file that claims a huge picture.
std::string ClaimingSize(std::string jpeg, int width, int height) {
    const std::size_t frame = jpeg.find("\xFF\xC0");
    jpeg[frame + 5] = static_cast<char>(height >> 8);
    jpeg[frame + 6] = static_cast<char>(height & 0xFF);
    jpeg[frame + 7] = static_cast<char>(width >> 8);
    jpeg[frame + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

// The JPEG with marker-like bytes at offset inside its entropy-coded data.
std::string Damaged(std::string jpeg, std::size_t offset) {
    jpeg.replace(offset, 8, "\xFF\xD0\xFF\xD9\xFF\xD1\x12\x34");
    return jpeg;
}

TEST(StreamSamples, CutOffDamagedAndHugePicturesAreRefused) {
    TempFolder folder;
    const QImage photo = Photo(300, 200);
    const std::string jpeg = Cjpeg(folder, photo, "");
    const std::string progressive = Cjpeg(folder, photo, "-progressive");
    const std::string tall = Cjpeg(folder, Photo(40, 5000), "");
    const std::string large = Cjpeg(folder, Photo(1501, 1403), "");
    const std::string damaged = Damaged(jpeg, jpeg.size() * 3 / 4);
    const std::string damagedTall = Damaged(tall, tall.size() / 2);
    const Bmp bmp{200,    100, 24,
                  kBiRgb, {},  PackRows(200, 100, 24, false, [](int x, int y) { return x * y; })};
    const std::string bmpBytes = BmpBytes(bmp);
    const Bmp hugeBmp{100000, 100000, 24, kBiRgb, {}, std::string(64, '\x55')};

    struct Case {
        const char* name;
        std::string bytes;
        std::string reason;
    };
    const std::string truncated = "truncated picture: the file ends too soon";
    const std::string damagedReason = "damaged picture data";
    const Case cases[] = {
        {"JPEG cut in half", jpeg.substr(0, jpeg.size() / 2), truncated},
        {"JPEG without its end marker", jpeg.substr(0, jpeg.size() - 2), truncated},
        {"progressive JPEG cut short", progressive.substr(0, progressive.size() * 9 / 10),
         truncated},
        {"tall JPEG cut near its end", tall.substr(0, tall.size() - 100), truncated},
        {"JPEG with a damaged scan", damaged, damagedReason},
        {"large JPEG cut in its first third", large.substr(0, large.size() / 3), truncated},
        {"large JPEG cut near its end", large.substr(0, large.size() - 5000), truncated},
        {"large JPEG damaged in its first third", Damaged(large, large.size() / 3), damagedReason},
        {"large JPEG damaged near its end", Damaged(large, large.size() * 9 / 10), damagedReason},
        {"tall JPEG with stray markers between samples", damagedTall, damagedReason},
        {"BMP cut in half", bmpBytes.substr(0, bmpBytes.size() / 2), truncated},
        {"BMP one byte short", bmpBytes.substr(0, bmpBytes.size() - 1), truncated},
        {"JPEG claiming 20000 x 20000", ClaimingSize(jpeg, 20000, 20000),
         "picture too large (20000 x 20000)"},
        {"JPEG claiming 16385 x 1", ClaimingSize(jpeg, 16385, 1), "picture too large (16385 x 1)"},
        {"BMP claiming 100000 x 100000", BmpBytes(hugeBmp), "picture too large (100000 x 100000)"},
    };
    for (const Case& c : cases) {
        for (const Sampling sampling : {Sampling::Point, Sampling::Area}) {
            SCOPED_TRACE(std::string(c.name) + (sampling == Sampling::Area ? ", area" : ""));
            EXPECT_EQ(StreamFailure(c.bytes, sampling), c.reason);
        }
    }
    // Stray bytes between segments are harmless: the picture samples as the window samples it.
    const std::size_t scan = jpeg.find("\xFF\xDA");
    std::string stray = jpeg.substr(0, scan);
    stray.append("\x01\x02\x03");
    stray.append(jpeg, scan);
    WriteFileBytes(folder / "stray.jpg", stray);
    ExpectSameSamples(folder / "stray.jpg");
}

// Area sampling adds every pixel of every cell as the rows arrive, turned or not; its exact sums
// give the window's colours to the bit, whatever order the pixels come in.
TEST(StreamSamples, AreaSamplingAveragesAsTheWindowDoes) {
    TempFolder folder;
    const QImage photo = Photo(701, 333);
    const QImage large = Photo(1501, 1403);
    const std::pair<const QImage&, const char*> variants[] = {
        {photo, "-sample 2x2"},  {photo, "-sample 1x1"}, {photo, "-sample 2x1"},
        {photo, "-progressive"}, {photo, "-grayscale"},  {photo, "-restart 2 -sample 2x2"},
        {large, "-sample 2x2"}};
    for (const auto& [image, options] : variants) {
        SCOPED_TRACE(std::to_string(image.width()) + " x " + std::to_string(image.height()) + " " +
                     options);
        WriteFileBytes(folder / "photo.jpg", Cjpeg(folder, image, options));
        ExpectSameSamples(folder / "photo.jpg", Fit::Stretch, Sampling::Area);
    }
    // Far fewer and far more pixels than cells, in either direction, turned every way and placed
    // by every fit.
    struct Size {
        int width, height;
    };
    for (const Size& size : {Size{3, 5}, Size{1000, 37}, Size{33, 1850}}) {
        const std::string jpeg = Cjpeg(folder, Photo(size.width, size.height), "-sample 2x2");
        for (int orientation = 1; orientation <= 8; ++orientation) {
            WriteFileBytes(folder / "turned.jpg", WithExifOrientation(jpeg, orientation));
            for (const Fit fit : {Fit::Stretch, Fit::Keep, Fit::Fill}) {
                SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height) +
                             ", orientation " + std::to_string(orientation) + ", fit " +
                             std::to_string(static_cast<int>(fit)));
                ExpectSameSamples(folder / "turned.jpg", fit, Sampling::Area);
            }
        }
    }
    for (const int bits : {1, 4, 8, 24, 32}) {
        for (const bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + " bits" + (topDown ? ", top down" : ""));
            std::vector<std::uint32_t> palette;
            for (int i = 0; bits <= 8 && i < 1 << bits; ++i) {
                palette.push_back(static_cast<std::uint32_t>(i * 0x010305 + 0x102030) & 0xFFFFFF);
            }
            const Bmp bmp{701,
                          topDown ? -333 : 333,
                          bits,
                          kBiRgb,
                          palette,
                          PackRows(701, 333, bits, topDown, [&](int x, int y) {
                              const auto v =
                                  static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u);
                              return bits >= 24 ? v : v % (1u << bits);
                          })};
            WriteFileBytes(folder / "picture.bmp", BmpBytes(bmp));
            ExpectSameSamples(folder / "picture.bmp", Fit::Keep, Sampling::Area);
        }
    }
}

}  // namespace

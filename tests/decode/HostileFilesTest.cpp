// Files built to make a decoder work without end or make up pixels, and files whose reason for
// refusal used to come out wrong: each gets its own reason, from the window's loader and the
// converter's sampling alike, and quickly.
#include <gtest/gtest.h>
#include <png.h>

#include <QImageWriter>
#include <string>
#include <vector>

#include "decode/OpenPicture.h"
#include "platform/files/FileError.h"
#include "sample/SampleRows.h"
#include "tests/decode/DeepPngFile.h"
#include "tests/decode/LoadPictureSupport.h"
#include "tests/decode/PictureFiles.h"

namespace {

using namespace picture_files;

const std::string kTruncated = "truncated picture: the file ends too soon";
const std::string kDamaged = "damaged picture data";

// The progressive JPEG with its last scan sent again and again before the end marker.
std::string ScanBomb(const std::string& jpeg, int repeats) {
    const std::size_t last = jpeg.rfind("\xFF\xDA");
    const std::size_t end = jpeg.size() - 2;
    std::string out = jpeg.substr(0, end);
    for (int i = 0; i < repeats; ++i) out += jpeg.substr(last, end - last);
    return out + "\xFF\xD9";
}

// A JPEG cut at fraction of its length, an end marker put back.
std::string CutWithEndMarker(const std::string& jpeg, double fraction) {
    return jpeg.substr(0, static_cast<std::size_t>(static_cast<double>(jpeg.size()) * fraction)) +
           "\xFF\xD9";
}

// A 4 x 2 PNG of 2-bit palette indices 0..3 with a palette of only two colours.
std::string PaletteBeyondItsColours() {
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    WritePngInto(png, bytes);
    png_set_check_for_invalid_index(png, 0);  // the writer would refuse it
    png_set_IHDR(png, info, 4, 2, 2, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[2] = {{0, 0, 0}, {255, 255, 255}};
    png_set_PLTE(png, info, palette, 2);
    png_write_info(png, info);
    png_byte row[1] = {0x1B};  // indices 0, 1, 2, 3
    for (int y = 0; y < 2; ++y) png_write_row(png, row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

// A 153-byte MNG whose only loop, holding nothing, repeats 0x7FFFFFFF times.
std::string EndlessMng() {
    std::string header;
    for (std::uint32_t value : {16u, 16u, 1u, 0u, 0u, 0u, 0u}) PutBe(header, value, 4);
    std::string loop("\x00", 1);
    PutBe(loop, 0x7FFFFFFF, 4);
    return std::string("\x8AMNG\r\n\x1A\n", 8) + Chunk("MHDR", header) + Chunk("LOOP", loop) +
           Chunk("ENDL", std::string("\x00", 1)) + Chunk("MEND", "");
}

// The reason the converter's sampling gives, or "" when it samples the file.
std::string SamplingFailureOf(const std::string& path) {
    try {
        SampleRows(*OpenPicture(path), Fit::Stretch, Sampling::Area);
    } catch (const FileError& error) {
        return error.Reason();
    }
    return "";
}

TEST(HostileFiles, EachGetsItsReasonInBothFrontEnds) {
    TempFolder folder;
    const QImage photo = Photo(160, 120);
    const std::string progressive = Encode(
        photo, "jpeg", 90, [](QImageWriter& writer) { writer.setProgressiveScanWrite(true); });
    const std::string arithmetic = Cjpeg(folder, photo, "-arithmetic");
    const std::string arithmeticProgressive = Cjpeg(folder, photo, "-arithmetic -progressive");
    std::string png2000000 = Encode(photo, "png");
    png2000000.replace(
        8, 25,
        Chunk("IHDR", std::string("\x00\x1E\x84\x80\x00\x00\x00\x01\x08\x02\x00\x00\x00", 13)));
    std::string tga20000 = TgaBytes(
        4, 4, [](int, int) { return 0u; }, false);
    tga20000.replace(12, 4, "\x20\x4E\x20\x4E");
    struct Case {
        const char* what;
        std::string bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"progressive JPEG with 600 scans", ScanBomb(progressive, 590), kTooManyScans},
        {"arithmetic JPEG cut at 30 %", CutWithEndMarker(arithmetic, 0.3), kTruncated},
        {"arithmetic JPEG cut at 50 %", CutWithEndMarker(arithmetic, 0.5), kTruncated},
        {"progressive arithmetic JPEG cut at 40 %", CutWithEndMarker(arithmeticProgressive, 0.4),
         kTruncated},
        {"whole arithmetic JPEG", arithmetic, ""},
        {"whole progressive arithmetic JPEG", arithmeticProgressive, ""},
        {"MNG looping 0x7FFFFFFF times", EndlessMng(), kTooSlowToDecode},
        {"palette PNG with indices beyond its palette", PaletteBeyondItsColours(), kDamaged},
        {"XBM of 8 x 200 holding 2 rows",
         "#define cut_width 8\n#define cut_height 200\nstatic char cut_bits[] = {\n0xff, 0x81,\n",
         kTruncated},
        {"TGA without the 2.0 footer",
         TgaBytes(
             5, 3, [](int x, int y) { return x * 40u + y; }, false),
         ""},
        {"PNG of 2000000 x 1", png2000000, "picture too large (2000000 x 1)"},
        {"PPM of 100000 x 1", "P6\n100000 1\n255\n" + std::string(300, 'x'),
         "picture too large (100000 x 1)"},
        {"XPM of 100000 x 1",
         "/* XPM */\nstatic char *big[] = {\n\"100000 1 1 1\",\n\"a c #FF0000\",\n\"aaaa\"\n};\n",
         "picture too large (100000 x 1)"},
        {"TGA of 20000 x 20000", tga20000, "picture too large (20000 x 20000)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder / "picture";
        WriteFileBytes(path, c.bytes);
        EXPECT_EQ(FailureOf(path), c.reason);
        EXPECT_EQ(SamplingFailureOf(path), c.reason);
    }
}

// A TGA is read with or without the footer, stored from either end and run-length encoded.
TEST(HostileFiles, TgaWithoutTheFooterLoadsExactly) {
    const auto rgb = [](int x, int y) { return static_cast<std::uint32_t>(x * 0x300510 + y * 7); };
    const PictureBox box = Load(TgaBytes(5, 3, rgb, false));
    ASSERT_EQ(box.Width(), 5);
    ASSERT_EQ(box.Height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(static_cast<std::uint32_t>(box.Point(x, y)), Colour(rgb(x, y)))
                << x << ", " << y;
        }
    }
}

}  // namespace

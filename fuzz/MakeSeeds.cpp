// Writes the seed inputs the fuzz targets start from: small pictures in every format and layout
// the loader meets, registry overlay texts, disc catalogues and screens to pack. Usage:
// quillix-fuzz-seeds FOLDER
#include <QCoreApplication>
#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>
// clang-format on

#include "compress/PackScreen.h"
#include "disc/DfsCatalogue.h"
#include "tests/decode/DeepPngFile.h"
#include "tests/decode/PictureFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace picture_files;

// A GIF of 4-colour pixels, LZW-coded with a clear code before every pixel so that the code
// size stays at 3 bits.
std::string Gif(int width, int height, bool interlaced) {
    std::string out = "GIF89a";
    PutLe(out, static_cast<std::uint32_t>(width), 2);
    PutLe(out, static_cast<std::uint32_t>(height), 2);
    out += std::string("\x81\x00\x00", 3);  // a global table of 4 colours
    out += std::string("\x00\x00\x00\xff\x00\x00\x00\xff\x00\xff\xff\xff", 12);
    out += ",";
    PutLe(out, 0, 4);
    PutLe(out, static_cast<std::uint32_t>(width), 2);
    PutLe(out, static_cast<std::uint32_t>(height), 2);
    out += interlaced ? '\x40' : '\x00';
    out += '\x02';  // minimum code size

    std::string codes;
    std::uint32_t bits = 0;
    int count = 0;
    const auto put = [&](std::uint32_t code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            codes += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < width * height; ++i) {
        put(4);  // clear
        put(static_cast<std::uint32_t>((i * 7 / 3) % 4));
    }
    put(5);  // end of information
    if (count > 0) codes += static_cast<char>(bits & 0xFF);
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        const std::string block = codes.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    return out + std::string("\x00;", 2);
}

// A JPEG that libjpeg writes with arithmetic coding, which Qt's writer cannot make.
std::string ArithmeticJpeg(int width, int height, bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.arith_code = TRUE;
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width * 3; ++x) {
            row[static_cast<std::size_t>(x)] =
                static_cast<JSAMPLE>(x * 7 + info.next_scanline * 13);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

QImage Gradient(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           qRgba(x * 255 / width, y * 255 / height, (x ^ y) * 16 % 256,
                                 (x + y) % 3 == 0 ? 128 : 255));
        }
    }
    return image.convertToFormat(format);
}

std::vector<std::pair<std::string, std::string>> PictureSeeds() {
    const QImage rgb = Gradient(16, 12, QImage::Format_RGB32);
    const auto packed = [](int bitCount) {
        return [bitCount](int x, int y) {
            return std::uint32_t((x + y) % (1 << std::min(bitCount, 8)));
        };
    };
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0xFFFFFF};
    return {
        {"rgb.png", Encode(rgb, "png")},
        {"alpha.png", Encode(Gradient(9, 7, QImage::Format_ARGB32), "png")},
        {"grey.png", Encode(Gradient(8, 8, QImage::Format_Grayscale8), "png")},
        {"deep.png", Encode(Gradient(5, 4, QImage::Format_RGBA64), "png")},
        {"indexed.png", Encode(Gradient(6, 6, QImage::Format_Indexed8), "png")},
        {"photo.jpg", Encode(rgb, "jpeg", 75)},
        {"grey.jpg", Encode(Gradient(8, 8, QImage::Format_Grayscale8), "jpeg", 50)},
        {"progressive.jpg",
         Encode(rgb, "jpeg", 60, [](QImageWriter& w) { w.setProgressiveScanWrite(true); })},
        {"turned.jpg", WithExifOrientation(Encode(rgb, "jpeg", 75), 6)},
        {"rgb24.bmp", Encode(rgb, "bmp")},
        {"top-down.bmp", BmpBytes({5, -3, 24, kBiRgb, {}, PackRows(5, 3, 24, true, packed(24))})},
        {"rgb16.bmp", BmpBytes({4, 4, 16, kBiRgb, {}, PackRows(4, 4, 16, false, packed(16))})},
        {"mono.bmp",
         BmpBytes({9, 3, 1, kBiRgb, {0, 0xFFFFFF}, PackRows(9, 3, 1, false, packed(1))})},
        {"four.bmp", BmpBytes({7, 3, 4, kBiRgb, palette, PackRows(7, 3, 4, false, packed(2))})},
        // Runs, a literal run, a delta, an end of line and the end of the picture.
        {"rle8.bmp", BmpBytes({8, 4, 8, kBiRle8, palette,
                               std::string("\x04\x01\x00\x03\x02\x03\x01\x00\x00\x00\x02\x01\x01"
                                           "\x03\x00\x01",
                                           16)})},
        {"rle4.bmp",
         BmpBytes({8, 4, 4, kBiRle4, palette, std::string("\x06\x12\x00\x00\x04\x33\x00\x01", 8)})},
        {"plain.gif", Gif(8, 6, false)},
        {"interlaced.gif", Gif(5, 9, true)},
        {"arithmetic.jpg", ArithmeticJpeg(17, 9, false)},
        {"arithmetic-progressive.jpg", ArithmeticJpeg(9, 17, true)},
        {"interlaced-deep.png", DeepPng(7, 5, PNG_COLOR_TYPE_RGB_ALPHA, true, false)},
        {"keyed-grey.png", DeepPng(5, 3, PNG_COLOR_TYPE_GRAY, false, true)},
        {"footer.tga", TgaBytes(6, 4, [](int x, int y) { return x * 0x102030u + y; })},
        {"plain.tga", TgaBytes(
                          4, 6, [](int x, int y) { return x * 0x030201u + y; }, false)},
        {"cut.xbm", "#define c_width 8\n#define c_height 4\nstatic char c_bits[] = {\n0x01,\n"},
        {"declared.ppm", "P6\n3 2\n255\n" + std::string(18, '\x7F')},
    };
}

std::vector<std::pair<std::string, std::string>> OverlaySeeds() {
    return {
        {"sysinfo.txt",
         "# system information\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n"
         "PATH = /usr/bin/hardinfo\n"},
        {"values.txt", "[HKLM\\K]\nCount = dword:0000002a\nNote = \"  dword:1  \"\n; c\n\nA=\n"},
        {"problems.txt", "[HKCU\\X]\nA = 1\n[HKLM\\K\nB = dword:xyz\n= 3\ngarbage\n[HKLM\\K\\]\n"},
        {"crlf.txt", "[HKLM\\Software\\A]\r\nPath = C:\\x\r\npath = again\r\n"},
    };
}

std::string CatalogueBytes(const DfsCatalogue& catalogue) {
    const std::vector<std::uint8_t> bytes = EncodeCatalogue(catalogue);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::pair<std::string, std::string>> CatalogueSeeds() {
    DfsCatalogue slideshow{"QUILLIX", 7, DfsBootOption::Exec, 800, {}};
    slideshow.entries = {
        {"SHOW2", '$', false, 0x3000, 0x3000, 20480, 87},
        {"SHOW1", '$', true, 0xFFFF5800, 0xFFFF5800, 10240, 47},
        {"!BOOT", '$', false, 0, 0xFFFFFFFF, 120, 2},
    };
    DfsCatalogue full{"FULL CATALOG", 99, DfsBootOption::Run, 400, {}};
    for (int i = 0; i < kDfsMaxFiles; ++i) {
        full.entries.push_back({"F" + std::to_string(i), 'A', i % 2 == 0,
                                static_cast<std::uint32_t>(0x1900 + i),
                                static_cast<std::uint32_t>(0x8023 + i),
                                static_cast<std::uint32_t>(i * 300), 2 + i * 2});
    }
    return {
        {"empty.ssd", CatalogueBytes({"", 0, DfsBootOption::None, 400, {}})},
        {"slideshow.ssd", CatalogueBytes(slideshow)},
        {"full.ssd", CatalogueBytes(full)},
    };
}

// Screens that are all zeros, have no three bytes twice, or repeat a stretch: the extremes of
// packing; and a packed screen, as a file to unpack.
std::vector<std::pair<std::string, std::string>> PackedScreenSeeds() {
    std::string distinct, repeats;
    for (int i = 0; i < 4096; ++i) distinct += static_cast<char>(i % 2 ? i / 2 >> 8 : i / 2);
    for (int i = 0; i < 4096; ++i) repeats += static_cast<char>((i % 640) * 37 % 251);
    const std::string zeros(4096, '\0');
    const std::vector<std::uint8_t> packed = PackScreen({repeats.begin(), repeats.end()});
    return {
        {"zeros", zeros},
        {"distinct", distinct},
        {"repeats", repeats},
        {"packed", std::string("\x00\x10", 2) + std::string(packed.begin(), packed.end())},
    };
}

void WriteAll(const fs::path& folder,
              const std::vector<std::pair<std::string, std::string>>& seeds) {
    fs::create_directories(folder);
    for (const auto& [name, bytes] : seeds) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quillix-fuzz-seeds FOLDER\n";
        return 2;
    }
    QCoreApplication app(argc, argv);  // for the image format plugins
    const fs::path folder = argv[1];
    WriteAll(folder / "picture", PictureSeeds());
    WriteAll(folder / "registry-overlay", OverlaySeeds());
    WriteAll(folder / "disc-catalogue", CatalogueSeeds());
    WriteAll(folder / "packed-screen", PackedScreenSeeds());
    return 0;
}

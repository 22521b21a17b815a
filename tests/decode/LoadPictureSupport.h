#pragma once

// Loading a picture from bytes and reading back the outcome, for the decoding tests.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "decode/LoadPicture.h"
#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"
#include "tests/TempFolder.h"
#include "tests/decode/PictureFiles.h"

namespace picture_files {

// The picture box's colour value of an RGB colour.
inline std::uint32_t Colour(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red | green << 8 | blue << 16);
}
inline std::uint32_t Colour(std::uint32_t rgb) {
    return Colour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

inline PictureBox Load(const std::string& bytes, const std::string& name = "picture",
                       const PixelAllocator& allocate = NewPixelBuffer) {
    TempFolder folder;
    WriteFileBytes(folder / name, bytes);
    PictureBox box;
    LoadPicture(folder / name, box, allocate);
    return box;
}

// The reason LoadPicture gives for a file, or "" when it loads.
inline std::string FailureOf(const std::string& path, PictureBox& box,
                             const PixelAllocator& allocate = NewPixelBuffer) {
    try {
        LoadPicture(path, box, allocate);
    } catch (const FileError& error) {
        if (error.Path() != path) return "wrong path: " + error.Path();
        return error.Reason();
    }
    return "";
}
inline std::string FailureOf(const std::string& path) {
    PictureBox box;
    return FailureOf(path, box);
}
inline std::string FailureOfBytes(const std::string& bytes) {
    TempFolder folder;
    WriteFileBytes(folder / "picture", bytes);
    return FailureOf(folder / "picture");
}

// Sharp colour edges over noise: any difference in chroma upsampling or IDCT shows.
inline QImage Photo(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(static_cast<unsigned>(width * 7919 + height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int grain = static_cast<int>(random() % 64);
            const bool stripe = (x / 3 + y / 5) % 2 == 0;
            image.setPixel(x, y,
                           qRgb(stripe ? 200 + grain / 2 : grain, (x * 255 / width) ^ grain,
                                stripe ? grain : 190 + grain));
        }
    }
    return image;
}

// The JPEG that libjpeg-turbo's cjpeg makes of image at quality 90 with options.
inline std::string Cjpeg(const TempFolder& folder, const QImage& image,
                         const std::string& options) {
    const char* cjpeg = "/usr/bin/cjpeg";
    if (!std::filesystem::exists(cjpeg)) {
        ADD_FAILURE() << cjpeg << " is missing: install the package libjpeg-turbo-progs";
        return "";
    }
    WriteFileBytes(folder / "in.ppm", Encode(image, "ppm"));
    const std::string out = folder / "out.jpg";
    const std::string command = std::string(cjpeg) + " -quality 90 " + options + " -outfile '" +
                                out + "' '" + (folder / "in.ppm") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadFileBytes(out);
}

}  // namespace picture_files

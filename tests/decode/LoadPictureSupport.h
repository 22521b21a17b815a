#pragma once

// Loading a picture from bytes and reading back the outcome, for the decoding tests.

#include <cstdint>
#include <string>

#include "decode/LoadPicture.h"
#include "decode/PictureReasons.h"
#include "platform/files/FileError.h"
#include "platform/picture/PictureBox.h"
#include "tests/TempFolder.h"

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

}  // namespace picture_files

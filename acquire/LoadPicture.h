#pragma once

#include <string>

class PictureBox;

// The largest width or height that a picture may have; larger ones are refused before decoding.
inline constexpr int kMaxPictureSide = 16384;

// Decodes the picture file at path (BMP, JPEG, and whatever else the installed image plugins
// read) into box, which takes the picture's size. The EXIF orientation is applied and
// transparent pixels are flattened onto black. On failure it raises FileError (see
// platform/files/FileError.h) naming the file and the reason, and leaves box as it was.
void LoadPicture(const std::string& path, PictureBox& box);

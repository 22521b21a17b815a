#pragma once

#include <cstdint>
#include <vector>

// The orientation (1..8) that the EXIF data of a JPEG's APP1 segments gives, read as Qt's JPEG
// reader reads it, so that both turn a picture alike: the segments' contents joined in file
// order, which must start with an "Exif" header; the first orientation tag of the first ten
// image file directories counts. 1 when there is none or it cannot be read.
int ExifOrientation(const std::vector<std::uint8_t>& app1Data);

#pragma once

#include <cstdint>
#include <string>

class ReadOnlyFile;

// What the first bytes of a picture file tell before any decoder is asked: the format, and the
// size the file declares, so that a picture too large is refused by its size (and named so)
// before a decoder allocates anything or turns the header down as broken.

// Up to count bytes of the file from offset on (fewer where it ends).
std::string FileBytes(const ReadOnlyFile& file, std::int64_t offset, std::int64_t count);

struct PictureSize {
    long long width = 0;  // 0 when the file does not say
    long long height = 0;
};

// A JPEG's frame header, found by walking the segments before it.
PictureSize JpegDeclaredSize(const ReadOnlyFile& file);
// A BMP's info header (either sign of height).
PictureSize BmpDeclaredSize(const std::string& head);
// A PNG's IHDR.
PictureSize PngDeclaredSize(const std::string& head);
// The formats the fallback decoder reads that state their size in a header: PBM, PGM and PPM
// ("P1".."P6"), XPM (its first string) and XBM (its #defines).
PictureSize FallbackDeclaredSize(const ReadOnlyFile& file);

// For an XBM file, whether its data holds a value for every byte of the picture it declares
// (true for any other file). A cut XBM leaves the rest of the picture white.
bool XbmComplete(const ReadOnlyFile& file);

#pragma once

#include <string>

// The reasons a picture is refused, worded the same whichever decoder finds them and whichever
// front end reports them. Each is stated here once.

// The largest width or height that a picture may have; larger ones are refused from the header,
// before anything is allocated or decoded.
inline constexpr int kMaxPictureSide = 16384;

// A file that no decoder knows.
inline constexpr const char* kNotAPicture = "not a picture, or in a format that cannot be read";
// The file ends before the picture does (or its coded data ends before its last row does).
inline constexpr const char* kTruncatedPicture = "truncated picture: the file ends too soon";
// The decoder gave up on the picture's data, or would have had to make up pixels.
inline constexpr const char* kDamagedPicture = "damaged picture data";
// A progressive JPEG that sends more scans than any encoder does (see JpegDecoder.h).
inline constexpr const char* kTooManyScans = "damaged picture data: too many scans";
// A decoder that used up its processor-time budget (see HelperRows.h).
inline constexpr const char* kTooSlowToDecode = "picture takes too long to decode";

inline std::string SizeText(long long width, long long height) {
    return std::to_string(width) + " x " + std::to_string(height);
}
// "picture too large (W x H)"
inline std::string TooLargeReason(long long width, long long height) {
    return "picture too large (" + SizeText(width, height) + ")";
}
inline bool TooLarge(long long width, long long height) {
    return width > kMaxPictureSide || height > kMaxPictureSide;
}
// "not enough memory to load a W x H picture", or "... this picture" when the size is not known.
inline std::string NoMemoryReason(int width, int height) {
    if (width <= 0 || height <= 0) return "not enough memory to load this picture";
    return "not enough memory to load a " + SizeText(width, height) + " picture";
}

#pragma once

#include <string>

// The reasons a picture is refused, worded the same whichever decoder finds them.

// The largest width or height that a picture may have; larger ones are refused before decoding.
inline constexpr int kMaxPictureSide = 16384;

// The file ends before the picture does.
inline constexpr const char* kTruncatedPicture = "truncated picture: the file ends too soon";
// The decoder gave up on the picture's data, or would have had to make up pixels.
inline constexpr const char* kDamagedPicture = "damaged picture data";

inline std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}
// "picture too large (W x H)"
inline std::string TooLargeReason(int width, int height) {
    return "picture too large (" + SizeText(width, height) + ")";
}
// "not enough memory to load a W x H picture"
inline std::string NoMemoryReason(int width, int height) {
    return "not enough memory to load a " + SizeText(width, height) + " picture";
}

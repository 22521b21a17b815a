#pragma once

#include <cstdint>

// How the picture helper (quillix-picture-helper, which decodes with Qt's image readers the
// formats that have no row source here) answers: one HelperAnswer, then, for a picture, its
// height rows of width pixels 0xAARRGGBB (the colour as drawn over black), as stored, top row
// first, on its standard output. It reads the picture from file descriptor kHelperPictureFd.

inline constexpr char kHelperProgram[] = "quillix-picture-helper";
inline constexpr int kHelperPictureFd = 3;

// The helper's processor-time budget: kHelperBaseSeconds to start Qt and read the header, then as
// many more as the declared size (or, where a reader cannot tell it beforehand, the file's size
// in bytes) takes at kHelperPixelsPerSecond (the slowest of Qt's readers, XPM, decodes faster
// than that), at most kHelperMostSeconds. A decoder that loops on a hostile file is stopped by
// the system when its budget is spent.
inline constexpr int kHelperBaseSeconds = 2;
inline constexpr long long kHelperPixelsPerSecond = 1 << 24;
inline constexpr int kHelperMostSeconds = 20;

enum class HelperOutcome : std::int32_t {
    kPicture = 0,
    kNotAPicture = 1,
    kTruncated = 2,
    kDamaged = 3,
    kTooLarge = 4,  // width and height say the size
    kNoMemory = 5,  // width and height say the size, when known
};

struct HelperAnswer {
    char magic[4] = {'Q', 'X', 'H', '1'};
    HelperOutcome outcome = HelperOutcome::kDamaged;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t orientation = 1;  // numbered as the EXIF orientation tag
};

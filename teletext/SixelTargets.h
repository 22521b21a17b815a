#pragma once

#include <vector>

#include "sample/Samples.h"
#include "screen/TeletextPage.h"

// The picture area of a teletext page: every row's cells 1-39, whose 78 x 75 sixels show the
// picture; cell 0 of each row holds the code that starts it and shows black.
inline constexpr int kPictureFirstCell = 1;
inline constexpr int kPictureSixelColumns = (kTeletextColumns - kPictureFirstCell) * kSixelColumns;
inline constexpr int kPictureSixelRows = kTeletextRows * kSixelRows;

// How tall each row of sixels is, in tenths of a character row: the SAA5050 gives the pairs 3,
// 4 and 3 of its 10 dot rows.
inline constexpr int kSixelRowTenths[kSixelRows] = {3, 4, 3};

// What the page should show: the linear-light colour of each sixel of the picture area, red,
// green, blue, row by row from the top.
struct SixelTargets {
    std::vector<float> rgb = std::vector<float>(3 * kPictureSixelColumns * kPictureSixelRows);

    float* At(int column, int row) {
        return rgb.data() + 3 * (row * kPictureSixelColumns + column);
    }
    const float* At(int column, int row) const {
        return rgb.data() + 3 * (row * kPictureSixelColumns + column);
    }
};

// The samples spread over the picture area: each sixel the mean, in linear light, of the part of
// the 320 x 256 grid it covers (the area is 624 x 500 of the monitor's 640 x 512, so the
// picture keeps its shape to within 0.2%).
SixelTargets TargetsOf(const SamplePlanes& samples);

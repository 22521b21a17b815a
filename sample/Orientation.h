#pragma once

#include <cstddef>

// How a stored picture must be turned to stand upright, numbered as the EXIF orientation tag
// numbers it: 1 as stored, 2 mirrored, 3 turned half round, 4 flipped top to bottom, 5 mirrored
// along the main diagonal, 6 turned a quarter clockwise, 7 mirrored along the other diagonal,
// 8 turned a quarter anticlockwise. Any other number counts as 1.
struct StoredPicture {
    int width = 0;  // as stored in the file
    int height = 0;
    int orientation = 1;

    // The upright picture's size: the sides swap for 5 to 8.
    int UprightWidth() const { return SidesSwap() ? height : width; }
    int UprightHeight() const { return SidesSwap() ? width : height; }
    bool SidesSwap() const { return orientation >= 5 && orientation <= 8; }
};

struct StoredPixel {
    int x;
    int y;
};

// The stored pixel that the upright picture shows at (x, y).
StoredPixel StoredPosition(const StoredPicture& picture, int x, int y);

// Where stored row y lands in the upright picture, held row by row from the top: stored pixel x
// of the row goes to place first + x * step.
struct UprightRow {
    std::ptrdiff_t first;
    std::ptrdiff_t step;
};
UprightRow UprightPlaces(const StoredPicture& picture, int y);

#include "sample/Orientation.h"

StoredPixel StoredPosition(const StoredPicture& picture, int x, int y) {
    const int right = picture.width - 1;
    const int bottom = picture.height - 1;
    switch (picture.orientation) {
        case 2:
            return {right - x, y};
        case 3:
            return {right - x, bottom - y};
        case 4:
            return {x, bottom - y};
        case 5:
            return {y, x};
        case 6:
            return {y, bottom - x};
        case 7:
            return {right - y, bottom - x};
        case 8:
            return {right - y, x};
        default:
            return {x, y};
    }
}

UprightRow UprightPlaces(const StoredPicture& picture, int y) {
    // StoredPosition turned inside out: the upright place of stored pixel (x, y).
    const std::ptrdiff_t width = picture.UprightWidth();
    const std::ptrdiff_t right = picture.width - 1;
    const std::ptrdiff_t bottom = picture.height - 1;
    switch (picture.orientation) {
        case 2:
            return {y * width + right, -1};
        case 3:
            return {(bottom - y) * width + right, -1};
        case 4:
            return {(bottom - y) * width, 1};
        case 5:
            return {y, width};
        case 6:
            return {bottom - y, width};
        case 7:
            return {right * width + bottom - y, -width};
        case 8:
            return {right * width + y, -width};
        default:
            return {y * width, 1};
    }
}

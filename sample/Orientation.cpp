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

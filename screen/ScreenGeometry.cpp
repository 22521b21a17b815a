#include "screen/ScreenGeometry.h"

#include <array>
#include <stdexcept>

namespace {

// Screen memory ends at &7FFF: MODEs 0-2 load at &3000 (20 KB), MODEs 4-5 at &5800 (10 KB).
constexpr const char* kTwentyK = "$.SCREEN   003000 000000 005000";
constexpr const char* kTenK = "$.SCREEN   005800 000000 002800";

constexpr std::array<ScreenGeometry, 5> kModes{{
    {0, 640, 8, 2, 640, 20480, kTwentyK},
    {1, 640, 4, 4, 320, 20480, kTwentyK},
    {2, 640, 2, 8, 160, 20480, kTwentyK},
    {4, 320, 8, 2, 320, 10240, kTenK},
    {5, 320, 4, 4, 160, 10240, kTenK},
}};

}  // namespace

const ScreenGeometry& GeometryOf(int screenMode) {
    for (const ScreenGeometry& geometry : kModes) {
        if (geometry.screenMode == screenMode) return geometry;
    }
    throw std::invalid_argument("MODE " + std::to_string(screenMode) +
                                " is not a supported screen mode (0, 1, 2, 4 or 5)");
}

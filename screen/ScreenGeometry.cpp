#include "screen/ScreenGeometry.h"

#include <array>
#include <stdexcept>

namespace {

// Screen memory ends at &7FFF: MODEs 0-2 load at &3000 (20 KB), MODEs 4-5 at &5800 (10 KB).
constexpr const char* kTwentyK = "$.SCREEN   003000 000000 005000";
constexpr const char* kTenK = "$.SCREEN   005800 000000 002800";
// MODE 7's page: 25 rows of 40 bytes from &7C00 (the last 24 bytes of the 1 KB go unshown).
constexpr ScreenMemory kTeletextPage{7, 0x7C00, 1000, "$.SCREEN   007C00 000000 0003E8"};
constexpr std::uint32_t kScreenEnd = 0x8000;

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
                                " is not a bitmap screen mode (0, 1, 2, 4 or 5)");
}

ScreenMemory ScreenMemoryOf(int screenMode) {
    if (screenMode == kTeletextPage.screenMode) return kTeletextPage;
    for (const ScreenGeometry& geometry : kModes) {
        if (geometry.screenMode == screenMode)
            return {screenMode, kScreenEnd - geometry.screenBytes, geometry.screenBytes,
                    geometry.sidecarLine};
    }
    throw std::invalid_argument("MODE " + std::to_string(screenMode) +
                                " is not a supported screen mode (0, 1, 2, 4, 5 or 7)");
}

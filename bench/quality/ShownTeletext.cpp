#include "bench/quality/ShownTeletext.h"

#include <algorithm>

#include "colour/LinearLight.h"
#include "screen/DisplayTeletext.h"
#include "screen/ScreenGeometry.h"

namespace {

constexpr int kAreaLeft = kTeletextCellWidth;  // cell 0 holds the row's first code
constexpr int kAreaWidth = kTeletextColumns * kTeletextCellWidth - kAreaLeft;
constexpr int kAreaHeight = kTeletextRows * kTeletextCellLines;

// The display pixels grid position g covers out of count, with the share of each.
std::vector<std::pair<int, float>> Covering(int g, int count, int pixels) {
    const double scale = static_cast<double>(pixels) / count;
    const double from = g * scale, to = (g + 1) * scale;
    std::vector<std::pair<int, float>> covered;
    for (int at = static_cast<int>(from); at < to && at < pixels; ++at)
        covered.emplace_back(at, static_cast<float>((std::min<double>(at + 1, to) -
                                                     std::max<double>(at, from)) /
                                                    scale));
    return covered;
}

}  // namespace

LinearPicture ShownTeletext(const std::vector<std::uint8_t>& page) {
    const PictureBox display = DisplayTeletext(page);
    LinearPicture shown(kPreviewWidth, kPreviewHeight);
    for (int y = 0; y < kPreviewHeight; ++y) {
        const auto rows = Covering(y, kPreviewHeight, kAreaHeight);
        for (int x = 0; x < kPreviewWidth; ++x) {
            const auto columns = Covering(x, kPreviewWidth, kAreaWidth);
            for (const auto& [row, rowShare] : rows) {
                for (const auto& [column, columnShare] : columns) {
                    const std::uint32_t colour =
                        static_cast<std::uint32_t>(display.Point(kAreaLeft + column, row));
                    const float share = rowShare * columnShare;
                    shown.red.At(x, y) += share * LinearOf(colour & 0xFF);
                    shown.green.At(x, y) += share * LinearOf(colour >> 8 & 0xFF);
                    shown.blue.At(x, y) += share * LinearOf(colour >> 16 & 0xFF);
                }
            }
        }
    }
    return shown;
}

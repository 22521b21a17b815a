#include "acquire/ColourValues.h"

#include <cstdint>
#include <system_error>
#include <thread>

#include "platform/PixelMemory.h"

namespace {

// Below this many bytes a second thread costs more than it saves.
constexpr std::size_t kWorthASecondThread = std::size_t{16} << 20;

// Runs work(begin, end) over 0..count, the second half on a helper thread when the range is
// large: a photograph is big enough that two cores convert it clearly faster than one.
template <typename Work>
void InTwoHalves(std::size_t count, std::size_t bytesEach, const Work& work) {
    if (count * bytesEach >= kWorthASecondThread) {
        try {
            std::thread helper(work, count / 2, count);
            work(0, count / 2);
            helper.join();
            return;
        } catch (const std::system_error&) {
            // No thread to be had: one does it all.
        }
    }
    work(0, count);
}

}  // namespace

void ToColourValuesInPlace(std::uint32_t* pixels, std::size_t count) {
    InTwoHalves(count, sizeof(std::uint32_t), [pixels](std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i) pixels[i] = ColourValueOf(pixels[i]);
    });
}

void ColourValuesInto(const QImage& image, std::uint32_t* out) {
    // Premultiplied alpha holds each colour as drawn over black, the screen's background.
    const bool direct = image.format() == QImage::Format_RGB32 ||
                        image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage converted =
        direct ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto width = static_cast<std::size_t>(converted.width());
    const auto rows = static_cast<std::size_t>(converted.height());
    InTwoHalves(rows, width * sizeof(std::uint32_t), [&](std::size_t first, std::size_t last) {
        for (std::size_t y = first; y < last; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                converted.constScanLine(static_cast<int>(y)));
            std::uint32_t* to = out + y * width;
            for (std::size_t x = 0; x < width; ++x) to[x] = ColourValueOf(row[x]);
        }
    });
}

std::vector<std::uint32_t> ColourValuesOf(const QImage& image) {
    std::vector<std::uint32_t> values =
        NewPixelBuffer(static_cast<std::size_t>(image.width()) * image.height());
    ColourValuesInto(image, values.data());
    return values;
}

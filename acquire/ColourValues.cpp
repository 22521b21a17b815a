#include "acquire/ColourValues.h"

void ToColourValuesInPlace(std::uint32_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) pixels[i] = ColourValueOf(pixels[i]);
}

std::vector<std::uint32_t> ColourValuesOf(const QImage& image) {
    // Premultiplied alpha holds each colour as drawn over black, the screen's background.
    const bool direct = image.format() == QImage::Format_RGB32 ||
                        image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage converted =
        direct ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = converted.width();
    const int height = converted.height();
    std::vector<std::uint32_t> values(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(converted.constScanLine(y));
        std::uint32_t* out = values.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) out[x] = ColourValueOf(row[x]);
    }
    return values;
}

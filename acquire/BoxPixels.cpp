#include "acquire/BoxPixels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr int kBandRows = 16;

QImage::Format BoxFormat(const QImage& image) {
    return image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

std::size_t PixelCount(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// Converts image a band of rows at a time into box pixels written from dest on. image may live
// in the same memory at or after dest, as long as no row of it starts before the place of its
// converted row: each band is copied aside before its place is written.
void ConvertRows(const QImage& image, std::uint32_t* dest) {
    const QImage::Format target = BoxFormat(image);
    const int width = image.width();
    const qsizetype stride = image.bytesPerLine();
    if (image.format() == target && stride == qsizetype{width} * 4 &&
        image.constBits() == reinterpret_cast<const uchar*>(dest)) {
        return;  // already in place, as a photograph's pixels come
    }
    const QList<QRgb> colours = image.colorTable();
    std::vector<uchar> band(static_cast<std::size_t>(stride) * kBandRows);
    for (int y = 0; y < image.height(); y += kBandRows) {
        const int rows = std::min(kBandRows, image.height() - y);
        std::memcpy(band.data(), image.constScanLine(y), static_cast<std::size_t>(stride) * rows);
        QImage source(band.data(), width, rows, stride, image.format());
        if (!colours.isEmpty()) source.setColorTable(colours);
        const QImage converted = source.convertToFormat(target);
        if (converted.isNull()) throw std::bad_alloc();
        for (int r = 0; r < rows; ++r) {
            std::memcpy(dest + PixelCount(width, y + r), converted.constScanLine(r),
                        static_cast<std::size_t>(width) * 4);
        }
    }
}

}  // namespace

DecodeSpace::DecodeSpace(const PixelAllocator& allocate, int width, int height,
                         QImage::Format format, int copies)
    : width_(width), height_(height), format_(format) {
    const std::size_t decodeBytes = BytesPerLine() * static_cast<std::size_t>(height) * copies;
    pixels_ = allocate(std::max(PixelCount(width, height), (decodeBytes + 3) / 4));
}

std::size_t DecodeSpace::BytesPerLine() const {
    const auto bits = static_cast<std::size_t>(QImage::toPixelFormat(format_).bitsPerPixel());
    return (static_cast<std::size_t>(width_) * bits + 31) / 32 * 4;
}

QImage DecodeSpace::Copy(int n) {
    // The copies sit at the end: converting from the front then never overtakes a row not yet
    // read, since no decoder layout takes more than the box's 4 bytes a pixel per row.
    const std::size_t copyBytes = BytesPerLine() * static_cast<std::size_t>(height_);
    const std::size_t offset = pixels_.size() * 4 - (static_cast<std::size_t>(n) + 1) * copyBytes;
    return QImage(reinterpret_cast<uchar*>(pixels_.get()) + offset, width_, height_,
                  static_cast<qsizetype>(BytesPerLine()), format_);
}

PixelBuffer DecodeSpace::Finish(const QImage& decoded) {
    ConvertRows(decoded, pixels_.get());
    pixels_.KeepFirst(PixelCount(width_, height_));
    return std::move(pixels_);
}

PixelBuffer TakeImage(QImage image, const PixelAllocator& allocate) {
    const std::size_t count = PixelCount(image.width(), image.height());
    if (image.depth() == 32 && image.bytesPerLine() == qsizetype{image.width()} * 4) {
        auto* pixels = reinterpret_cast<std::uint32_t*>(image.bits());
        if (pixels == nullptr) throw std::bad_alloc();
        ConvertRows(image, pixels);
        return PixelBuffer(pixels, count, std::make_shared<QImage>(std::move(image)));
    }
    PixelBuffer pixels = allocate(count);
    ConvertRows(image, pixels.get());
    return pixels;
}

#include "app/MonitorPicture.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "screen/DisplayScreen.h"

namespace {

constexpr double kMonitorAspect = 4.0 / 3.0;

}  // namespace

QSize MonitorSize(int scale) {
    return {static_cast<int>(std::lround(kDisplayHeight * scale * kMonitorAspect)),
            kDisplayHeight * scale};
}

QSize MonitorSizeWithin(QSize room) {
    const int height = std::min(room.height(), static_cast<int>(room.width() / kMonitorAspect));
    return {static_cast<int>(std::lround(height * kMonitorAspect)), std::max(height, 0)};
}

QImage MonitorImage(const PictureBox& display, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    if (size.isEmpty() || display.Width() == 0 || display.Height() == 0) return image;
    std::vector<int> columns(static_cast<std::size_t>(size.width()));
    for (int x = 0; x < size.width(); ++x)
        columns[x] = static_cast<int>(static_cast<long long>(x) * display.Width() / size.width());
    for (int y = 0; y < size.height(); ++y) {
        const std::uint32_t* from = display.Row(
            static_cast<int>(static_cast<long long>(y) * display.Height() / size.height()));
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const std::uint32_t colour = from[columns[x]];
            to[x] = qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
        }
    }
    return image;
}

QImage ImageOf(const PictureBox& picture) {
    if (picture.Width() == 0 || picture.Height() == 0) return {};
    // Colour values are RGBX in memory order, their unused top byte 0; decoded pixels 0xAARRGGBB.
    const bool decoded = picture.PixelLayout() == PictureBox::Layout::Argb32;
    return QImage(reinterpret_cast<const uchar*>(picture.Row(0)), picture.Width(), picture.Height(),
                  static_cast<qsizetype>(picture.Width()) * 4,
                  decoded ? QImage::Format_RGB32 : QImage::Format_RGBX8888);
}

QRectF PictureInFrame(int width, int height, Fit fit, QSizeF frame) {
    if (fit == Fit::Stretch || width <= 0 || height <= 0) return {QPointF(0, 0), frame};
    const double aspect = static_cast<double>(width) / height;
    // Keep fits the picture's longer side (against 4:3) to the frame; fill its shorter side.
    const bool wider = aspect >= kMonitorAspect;
    QSizeF placed = frame;
    if (wider == (fit == Fit::Keep)) {
        placed.setHeight(frame.width() / aspect);
    } else {
        placed.setWidth(frame.height() * aspect);
    }
    return {QPointF((frame.width() - placed.width()) / 2, (frame.height() - placed.height()) / 2),
            placed};
}

QImage SourceFrame(const QImage& picture, Fit fit, QSize size) {
    QImage frame(size, QImage::Format_RGB32);
    frame.fill(Qt::black);
    if (picture.isNull() || size.isEmpty()) return frame;
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(PictureInFrame(picture.width(), picture.height(), fit, QSizeF(size)),
                      picture);
    return frame;
}

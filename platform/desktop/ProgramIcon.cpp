#include "platform/desktop/ProgramIcon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace {

QPixmap DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int unit = size / 16;  // one pixel of the 16 x 16 design

    // Case and screen.
    painter.fillRect(0, 1 * unit, 16 * unit, 12 * unit, QColor(192, 192, 192));
    painter.fillRect(1 * unit, 2 * unit, 14 * unit, 10 * unit, Qt::black);
    // The eight MODE 2 colours, two bars of four.
    const QColor bars[8] = {Qt::white,   Qt::yellow, Qt::cyan, Qt::green,
                            Qt::magenta, Qt::red,    Qt::blue, QColor(128, 128, 128)};
    for (int i = 0; i < 4; ++i) {
        painter.fillRect((2 + 3 * i) * unit, 3 * unit, 3 * unit, 4 * unit, bars[i]);
        painter.fillRect((2 + 3 * i) * unit, 7 * unit, 3 * unit, 4 * unit, bars[i + 4]);
    }
    // Stand.
    painter.fillRect(6 * unit, 13 * unit, 4 * unit, 1 * unit, QColor(128, 128, 128));
    painter.fillRect(3 * unit, 14 * unit, 10 * unit, 2 * unit, QColor(192, 192, 192));
    painter.end();
    return QPixmap::fromImage(image);
}

}  // namespace

QIcon ProgramIcon() {
    QIcon icon;
    icon.addPixmap(DrawIcon(16));
    icon.addPixmap(DrawIcon(32));
    return icon;
}

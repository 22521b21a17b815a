#include "platform/desktop/ProgramIcon.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <array>

namespace {

constexpr QRgb kCase = qRgb(192, 192, 192);
constexpr QRgb kShadow = qRgb(128, 128, 128);

// A bar of the MODE 2 colours: four across, two rows.
constexpr IconPart Bar(int index, QRgb colour) {
    return {2 + 3 * (index % 4), 3 + 4 * (index / 4), 3, 4, colour};
}

constexpr std::array<IconPart, 12> kDesign = {{
    {0, 1, 16, 12, kCase},          // case
    {1, 2, 14, 10, qRgb(0, 0, 0)},  // screen
    Bar(0, qRgb(255, 255, 255)),    // white
    Bar(1, qRgb(255, 255, 0)),      // yellow
    Bar(2, qRgb(0, 255, 255)),      // cyan
    Bar(3, qRgb(0, 255, 0)),        // green
    Bar(4, qRgb(255, 0, 255)),      // magenta
    Bar(5, qRgb(255, 0, 0)),        // red
    Bar(6, qRgb(0, 0, 255)),        // blue
    Bar(7, kShadow),                // grey
    {6, 13, 4, 1, kShadow},         // neck
    {3, 14, 10, 2, kCase},          // stand
}};

}  // namespace

std::span<const IconPart> ProgramIconDesign() {
    return kDesign;
}

QImage DrawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int unit = size / 16;
    for (const IconPart& part : kDesign) {
        painter.fillRect(part.left * unit, part.top * unit, part.width * unit, part.height * unit,
                         QColor(part.colour));
    }
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(DrawProgramIcon(16)));
    icon.addPixmap(QPixmap::fromImage(DrawProgramIcon(32)));
    return icon;
}

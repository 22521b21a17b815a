#pragma once

#include <QIcon>
#include <QImage>
#include <QRgb>
#include <span>

// The program's icon in a few plain colours: a monitor showing the colour bars of a MODE 2
// screen. The main window and the About dialog show it at 32 x 32 and 16 x 16; the desktop's
// icons in every size are drawn from the same design at build time.
QIcon ProgramIcon();

// One rectangle of the icon's 16 x 16 design, in design pixels, painted in order.
struct IconPart {
    int left, top, width, height;
    QRgb colour;
};
std::span<const IconPart> ProgramIconDesign();

// The design drawn at size x size pixels, size a multiple of 16, on a transparent ground.
QImage DrawProgramIcon(int size);

#include "app/PictureBoxView.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <utility>

namespace {

// A colour value of the surface as a screen colour: red in bits 0..7, green 8..15, blue 16..23.
QColor ScreenColour(std::uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace

PictureBoxView::PictureBoxView(PictureBox surface, QWidget* parent)
    : QFrame(parent), surface_(std::move(surface)) {
    // WinPanel is the two-pixel sunken border of a classic picture box.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(kBorder);
    shownRevision_ = surface_.Revision();
}

void PictureBoxView::Refresh() {
    if (autoSize_ && surface_.Width() > 0 && surface_.Height() > 0) {
        resize(surface_.Width() + 2 * frameWidth(), surface_.Height() + 2 * frameWidth());
    }
    if (surface_.Revision() != shownRevision_) {
        shownRevision_ = surface_.Revision();
        update();
    }
}

void PictureBoxView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area & event->rect(), ScreenColour(surface_.BackColour()));

    if (surface_.Width() > 0 && surface_.Height() > 0) {
        // Only the exposed part is converted, so a large picture costs no more than the window.
        const QRect exposed = (event->rect() & area).translated(-area.topLeft()) &
                              QRect(0, 0, surface_.Width(), surface_.Height());
        if (!exposed.isEmpty()) {
            // Colour values are RGBX in memory order; their unused top byte is 0, so the part is
            // made opaque before it is drawn. A decoded picture is already 0xAARRGGBB.
            const bool decoded = surface_.PixelLayout() == PictureBox::Layout::Argb32;
            const QImage whole(reinterpret_cast<const uchar*>(std::as_const(surface_).Row(0)),
                               surface_.Width(), surface_.Height(),
                               static_cast<qsizetype>(surface_.Width()) * 4,
                               decoded ? QImage::Format_RGB32 : QImage::Format_RGBX8888);
            painter.drawImage(exposed.topLeft() + area.topLeft(),
                              whole.copy(exposed).convertToFormat(QImage::Format_RGB32));
        }
    }
    drawFrame(&painter);
}

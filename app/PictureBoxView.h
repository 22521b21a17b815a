#pragma once

#include <QFrame>
#include <cstdint>

#include "platform/picture/PictureBox.h"

// A picture box on screen: a 2-pixel sunken border around a drawing area that shows the
// PictureBox surface, so what is drawn into it stays and comes back whenever the window repaints.
// With auto-size on, the box takes the size of the picture put into its surface.
class PictureBoxView : public QFrame {
    Q_OBJECT

public:
    static constexpr int kBorder = 2;

    PictureBoxView(PictureBox surface, QWidget* parent);

    PictureBox& Surface() { return surface_; }
    const PictureBox& Surface() const { return surface_; }

    void SetAutoSize(bool on) { autoSize_ = on; }

    // Brings the screen up to date after the surface has been drawn into or given a picture.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureBox surface_;
    bool autoSize_ = false;
    std::uint64_t shownRevision_ = 0;
};

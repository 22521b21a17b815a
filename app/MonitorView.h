#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "platform/picture/PictureBox.h"
#include "sample/SampleGeometry.h"
#include "screen/EncodedScreen.h"

class QCheckBox;
class QComboBox;
class QScrollArea;
class MonitorCanvas;

// View > "Monitor": the last conversion as the BBC Micro's monitor shows it, every pixel of the
// display render (every MODE 0 pixel too) in the monitor's 4:3 shape, scaled to fit the window or
// at 1x, 2x or 3x; beside it, with "Show Source", the source picture framed as the chosen fit
// frames it. A window of its own that the main window owns.
class MonitorView : public QWidget {
    Q_OBJECT

public:
    // The scales offered, in the order of cmbScale.
    enum Scale { kFitWindow = 0, kScale1x = 1, kScale2x = 2, kScale3x = 3 };

    explicit MonitorView(QWidget* owner);

    // Shows a conversion of source (the window's source picture, which outlives the view) placed
    // as fit places it. The source's picture is read again only when it has changed.
    void ShowConversion(const EncodedScreen& screen, const PictureBox& source, Fit fit);

    // The display render shown (640 x 512), and how many conversions have been painted on
    // screen so far.
    const PictureBox& Display() const { return display_; }
    std::uint64_t PaintedConversions() const;

    QComboBox* cmbScale = nullptr;
    QCheckBox* chkSource = nullptr;
    MonitorCanvas* canvas = nullptr;

private:
    void ApplyScale();

    QScrollArea* scroll_ = nullptr;
    PictureBox display_;
};

// The drawing area of the monitor view: the monitor picture, then the source frame beside it.
class MonitorCanvas : public QWidget {
    Q_OBJECT

public:
    static constexpr int kGap = 8;  // between the monitor and the source

    explicit MonitorCanvas(QWidget* parent);

    void SetConversion(const PictureBox& display, const PictureBox& source, Fit fit);
    void SetScale(int scale);  // 0: fit the area the canvas is given
    void SetShowSource(bool on);

    // The size of each picture for the canvas as it is now.
    QSize PictureSize() const;
    // The size the canvas wants at a whole scale.
    QSize SizeAt(int scale) const;

    std::uint64_t painted = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PictureBox* display_ = nullptr;
    const PictureBox* source_ = nullptr;
    Fit fit_ = Fit::Stretch;
    int scale_ = 0;
    bool showSource_ = true;
    std::uint64_t conversions_ = 0;

    // Rebuilt only when what they show or their size changes.
    QImage monitor_;
    QImage frame_;
    QImage reduced_;  // the source, reduced once per picture
    std::uint64_t monitorOf_ = 0, frameOf_ = 0;
    std::uint64_t reducedRevision_ = ~std::uint64_t{0};
    QSize reducedOf_;
};

#include "app/MonitorView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/MonitorPicture.h"
#include "screen/DisplayScreen.h"

namespace {

// The source is reduced once per picture to about twice the largest frame shown at 1x, so that
// framing it again for another fit or size is quick even for a photograph of many megapixels.
QImage Reduced(const PictureBox& source) {
    const QImage whole = ImageOf(source);
    const QSize room = MonitorSize(2);
    if (whole.isNull() || (whole.width() <= room.width() && whole.height() <= room.height()))
        return whole.convertToFormat(QImage::Format_RGB32);
    return whole.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

MonitorView::MonitorView(QWidget* owner) : QWidget(owner, Qt::Window) {
    setWindowTitle(QStringLiteral("Monitor"));
    cmbScale = new QComboBox(this);
    cmbScale->addItems({QStringLiteral("Fit to Window"), QStringLiteral("1x"), QStringLiteral("2x"),
                        QStringLiteral("3x")});
    cmbScale->setStatusTip(
        QStringLiteral("Shows the monitor picture scaled to the window or at a whole scale"));
    auto* scaleLabel = new QLabel(QStringLiteral("&Scale:"), this);
    scaleLabel->setBuddy(cmbScale);
    chkSource = new QCheckBox(QStringLiteral("Show S&ource"), this);
    chkSource->setChecked(true);

    canvas = new MonitorCanvas(this);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(canvas);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);

    auto* controls = new QHBoxLayout;
    controls->addWidget(scaleLabel);
    controls->addWidget(cmbScale);
    controls->addWidget(chkSource);
    controls->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(scroll_, 1);

    connect(cmbScale, &QComboBox::currentIndexChanged, this, [this] { ApplyScale(); });
    connect(chkSource, &QCheckBox::toggled, this, [this](bool on) {
        canvas->SetShowSource(on);
        ApplyScale();
    });
    ApplyScale();
    const QSize start = canvas->SizeAt(1);
    resize(start.width() + 40, start.height() + 80);
}

void MonitorView::ShowConversion(const EncodedScreen& screen, const PictureBox& source, Fit fit) {
    display_ = DisplayScreen(screen);
    canvas->SetConversion(display_, source, fit);
}

std::uint64_t MonitorView::PaintedConversions() const {
    return canvas->painted;
}

void MonitorView::ApplyScale() {
    const int scale = cmbScale->currentIndex();
    canvas->SetScale(scale);
    // Fitting follows the window; a whole scale is its own size, scrolled when larger.
    scroll_->setWidgetResizable(scale == kFitWindow);
    if (scale == kFitWindow) {
        canvas->setMinimumSize(0, 0);
        canvas->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        canvas->setFixedSize(canvas->SizeAt(scale));
    }
    canvas->update();
}

MonitorCanvas::MonitorCanvas(QWidget* parent) : QWidget(parent) {}

void MonitorCanvas::SetConversion(const PictureBox& display, const PictureBox& source, Fit fit) {
    display_ = &display;
    source_ = &source;
    fit_ = fit;
    ++conversions_;
    update();
}

void MonitorCanvas::SetScale(int scale) {
    scale_ = scale;
}

void MonitorCanvas::SetShowSource(bool on) {
    showSource_ = on;
    update();
}

QSize MonitorCanvas::SizeAt(int scale) const {
    const QSize picture = MonitorSize(scale);
    return showSource_ ? QSize(2 * picture.width() + kGap, picture.height()) : picture;
}

QSize MonitorCanvas::PictureSize() const {
    if (scale_ != 0) return MonitorSize(scale_);
    const QSize room = showSource_ ? QSize((width() - kGap) / 2, height()) : size();
    return MonitorSizeWithin(room);
}

void MonitorCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QSize size = PictureSize();
    if (display_ == nullptr || size.isEmpty()) return;
    // Centred in the area the canvas has.
    const int across = showSource_ ? 2 * size.width() + kGap : size.width();
    const QPoint at((width() - across) / 2, (height() - size.height()) / 2);

    if (monitorOf_ != conversions_ || monitor_.size() != size) {
        monitor_ = MonitorImage(*display_, size);
        monitorOf_ = conversions_;
    }
    painter.drawImage(at, monitor_);
    if (showSource_) {
        const QSize room = MonitorSize(2);
        if (source_->Revision() != reducedRevision_ || reducedOf_ != room) {
            reduced_ = Reduced(*source_);
            reducedRevision_ = source_->Revision();
            reducedOf_ = room;
            frameOf_ = 0;
        }
        if (frameOf_ != conversions_ || frame_.size() != size) {
            frame_ = SourceFrame(reduced_, fit_, size);
            frameOf_ = conversions_;
        }
        painter.drawImage(at + QPoint(size.width() + kGap, 0), frame_);
    }
    painted = conversions_;
}

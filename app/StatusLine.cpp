#include "app/StatusLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include "platform/files/ControlEscapes.h"

StatusLine::StatusLine(QStatusBar* bar) : QWidget(bar) {
    label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    // A long path must not widen the window; it is cut short at the right.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    progress = new QProgressBar(this);
    progress->setMaximumWidth(160);
    progress->setTextVisible(false);
    progress->hide();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(label, 1);
    layout->addWidget(progress);
    bar->addWidget(this, 1);
}

void StatusLine::Say(const std::string& text) {
    label->setText(QString::fromStdString(WithControlsEscaped(text)));
    label->setToolTip(label->text());
    progress->hide();
}

void StatusLine::Busy(const std::string& text, int done, int total) {
    Say(text);
    progress->setRange(0, total);
    progress->setValue(done);
    progress->show();
}

QString StatusLine::Text() const {
    return label->text();
}

bool StatusLine::ShowsProgress() const {
    return !progress->isHidden();
}

#include "app/AdjustPictureDialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace {

// A slider and a number box that follow each other. The slider counts in steps of 1 / scale;
// gamma's slider moves along log2(gamma), so that 1 sits in the middle of 0.25..4.
struct Control {
    QSlider* slider;
    QDoubleSpinBox* number;
};

constexpr int kGammaSteps = 100;  // slider steps per doubling of gamma

Control AddControl(QFormLayout* form, const char* label, const AdjustmentRange& range, double value,
                   bool logarithmic, const std::function<void()>& changed) {
    auto* slider = new QSlider(Qt::Horizontal);
    auto* number = new QDoubleSpinBox;
    const auto toSlider = [logarithmic](double v) {
        return static_cast<int>(std::lround(logarithmic ? kGammaSteps * std::log2(v) : v));
    };
    slider->setRange(toSlider(range.lowest), toSlider(range.highest));
    number->setRange(range.lowest, range.highest);
    number->setDecimals(logarithmic ? 2 : 0);
    number->setSingleStep(logarithmic ? 0.05 : 1);
    number->setValue(value);
    slider->setValue(toSlider(value));
    QObject::connect(slider, &QSlider::valueChanged, number, [=](int position) {
        const double v = logarithmic ? std::exp2(position / double(kGammaSteps)) : position;
        if (toSlider(number->value()) != position) number->setValue(v);
    });
    QObject::connect(number, &QDoubleSpinBox::valueChanged, slider, [=](double v) {
        slider->setValue(toSlider(v));
        changed();
    });
    auto* row = new QHBoxLayout;
    row->addWidget(slider, 1);
    row->addWidget(number);
    form->addRow(QString::fromUtf8(label), row);
    return {slider, number};
}

}  // namespace

std::optional<PictureAdjustments> QtPictureAdjuster::Adjust(
    QWidget* owner, const PictureAdjustments& current,
    const std::function<void(const PictureAdjustments&)>& changed) {
    QDialog dialog(owner);
    dialog.setWindowTitle(QStringLiteral("Adjust Picture"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto* autoLevels = new QCheckBox(QStringLiteral("Auto Levels"));
    autoLevels->setChecked(current.autoLevels);

    Control brightness{}, contrast{}, saturation{}, gamma{};
    const auto values = [&] {
        PictureAdjustments a;
        a.brightness = static_cast<int>(brightness.number->value());
        a.contrast = static_cast<int>(contrast.number->value());
        a.saturation = static_cast<int>(saturation.number->value());
        a.gamma = gamma.number->value();
        a.autoLevels = autoLevels->isChecked();
        return a;
    };
    bool ready = false;  // no calls while the controls are being built
    const auto report = [&] {
        if (ready && changed) changed(values());
    };
    brightness =
        AddControl(form, "Brightness", kBrightnessRange, current.brightness, false, report);
    contrast = AddControl(form, "Contrast", kContrastRange, current.contrast, false, report);
    saturation =
        AddControl(form, "Saturation", kSaturationRange, current.saturation, false, report);
    gamma = AddControl(form, "Gamma", kGammaRange, current.gamma, true, report);
    form->addRow(autoLevels);
    QObject::connect(autoLevels, &QCheckBox::toggled, &dialog, report);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::RestoreDefaults);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked,
                     &dialog, [&] {
                         brightness.number->setValue(kBrightnessRange.neutral);
                         contrast.number->setValue(kContrastRange.neutral);
                         saturation.number->setValue(kSaturationRange.neutral);
                         gamma.number->setValue(kGammaRange.neutral);
                         autoLevels->setChecked(false);
                     });
    ready = true;
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return values();
}

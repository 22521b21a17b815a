#include "app/LiveConversion.h"

#include <QAction>
#include <filesystem>

#include "app/ConversionSettings.h"
#include "app/StatusLine.h"
#include "app/frmMain.h"
#include "platform/desktop/MessageBox.h"

LiveConversion::LiveConversion(frmMain& window, QAction& toggle, StatusLine& status,
                               MessageBox& messages)
    : QObject(&window), window_(window), toggle_(toggle), status_(status), messages_(messages) {
    soon_.setSingleShot(true);
    soon_.setInterval(0);
    connect(&soon_, &QTimer::timeout, this, [this] { Run(); });
}

void LiveConversion::OptionChosen() {
    if (toggle_.isChecked()) soon_.start();
}

void LiveConversion::Run() {
    ConversionDocument& document = window_.Document();
    if (!toggle_.isChecked() || window_.Timer1->isActive() || !document.Sampled()) return;
    // The pass in hand comes back here when it ends, and then serves the latest choice.
    if (document.SamplingInBackground()) return;
    const ConversionDocument::SampledWith wanted{ConversionSettings.Sampling,
                                                 ConversionSettings.Fit};
    if (*document.Sampled() == wanted) {
        window_.cmdConvert_Click();
        return;
    }
    const std::string name = std::filesystem::path(document.OpenedPicture()).filename().string();
    status_.Busy("Sampling " + name + " again for the new " +
                 (wanted.first != document.Sampled()->first ? "sampling" : "fit") + "...");
    document.SampleInBackground(
        window_.picImage1->Surface(), wanted, [this, name](const std::string& failure) {
            if (failure.empty()) {
                status_.Say("");
                Run();
                return;
            }
            status_.Say("Could not sample " + name + " again");
            messages_.Show(
                QString::fromStdString("Cannot Read Picture : " + name + "\n\n" + failure));
        });
}

#pragma once

// Stand-ins for the main window's platform services, so no test ever blocks on a dialog or
// touches the user's settings, and a fixture that starts the window with them.

#include <gtest/gtest.h>

#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AdjustPictureDialog.h"
#include "app/ConversionSettings.h"
#include "app/frmMain.h"
#include "platform/desktop/Clipboard.h"
#include "platform/desktop/FileChooser.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/SettingsStore.h"
#include "tests/ScopedEnvironmentVariable.h"
#include "tests/TempFolder.h"
#include "tests/app/module/ConversionState.h"

// Answers each Open dialog with the next queued path (empty: the user cancels).
class FakeFileChooser : public FileChooser {
public:
    QString ShowOpen(const OpenFileRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Answers each Save dialog with the next queued path (empty: the user cancels).
    QString ShowSave(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        if (saveAnswers.empty()) return {};
        QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    std::deque<QString> answers;
    std::vector<OpenFileRequest> requests;
    std::deque<QString> saveAnswers;
    std::vector<SaveFileRequest> saveRequests;
};

class FakeMessageBox : public MessageBox {
public:
    void Show(const QString& text) override { texts.push_back(text); }
    QStringList texts;
};

class FakeSettingsStore : public SettingsStore {
public:
    QString GetSetting(const QString& section, const QString& key,
                       const QString& defaultValue) const override {
        return values.value(section + '/' + key, defaultValue);
    }
    void SaveSetting(const QString& section, const QString& key, const QString& value) override {
        values[section + '/' + key] = value;
    }
    QMap<QString, QString> values;
};

class FakeClipboard : public Clipboard {
public:
    void SetText(const QString& text) override { texts.push_back(text); }
    QStringList texts;
};

// Answers Picture > "Adjust Picture..." as a user would: reports each of `steps` as a change
// (noting the settings after each), then presses OK on the last, or Cancel.
class FakePictureAdjuster : public PictureAdjuster {
public:
    std::optional<PictureAdjustments> Adjust(
        QWidget*, const PictureAdjustments& current,
        const std::function<void(const PictureAdjustments&)>& changed) override {
        shownWith.push_back(current);
        for (const PictureAdjustments& step : steps) {
            changed(step);
            settingsDuring.push_back(ConversionSettings.Adjustments);
        }
        if (cancel || steps.empty()) return std::nullopt;
        return steps.back();
    }
    std::vector<PictureAdjustments> steps;
    bool cancel = false;
    std::vector<PictureAdjustments> shownWith, settingsDuring;
};

// The colour a pixel of a picture box's drawing area shows on screen, as a surface colour value.
inline std::uint32_t ShownColour(PictureBoxView& view, int x, int y) {
    const QImage shown = view.grab().toImage();
    const QRgb rgb = shown.pixel(x + PictureBoxView::kBorder, y + PictureBoxView::kBorder);
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

// A started main window whose drive C: is a fresh temporary folder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetConversionState(ConversionSettingsFields{});
        window = std::make_unique<frmMain>(frmMainServices{
            &chooser, &messages, &settings,
            [this](QWidget* owner) { aboutOwners.push_back(owner); }, &clipboard, &adjuster});
        window->Form_Load();
    }
    void TearDown() override { window.reset(); }

    std::string ScreenPath() const { return drive / "$.screen"; }
    std::string SidecarPath() const { return drive / "$.screen.inf"; }
    bool OutputsExist() const {
        return std::filesystem::exists(ScreenPath()) || std::filesystem::exists(SidecarPath());
    }

    // Writes a picture of the given size in the given format ("BMP", "JPG", "PNG") whose colours
    // change across and down, so every sample position shows up in the result.
    std::string MakePicture(const std::string& name, int width, int height, const char* format) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.setPixel(x, y, qRgb((x * 255) / width, (y * 255) / height, (x * y) % 256));
            }
        }
        const std::string path = pictures / name;
        EXPECT_TRUE(image.save(QString::fromStdString(path), format)) << path;
        return path;
    }

    TempFolder drive;
    ScopedEnvironmentVariable driveC{"QUILLIX_DRIVE_C", drive.Path().string()};
    TempFolder pictures;
    FakeFileChooser chooser;
    FakeMessageBox messages;
    FakeSettingsStore settings;
    FakeClipboard clipboard;
    FakePictureAdjuster adjuster;
    std::vector<QWidget*> aboutOwners;
    std::unique_ptr<frmMain> window;
};

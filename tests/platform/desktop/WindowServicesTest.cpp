// The main window's platform services: the Open dialog's filters, the settings store, the
// plain-file test and the chooser's start folder.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSettings>
#include <QTest>
#include <filesystem>

#include "platform/desktop/FileChooser.h"
#include "platform/desktop/SettingsStore.h"
#include "platform/desktop/StartFolder.h"
#include "tests/ScopedEnvironmentVariable.h"
#include "tests/TempFolder.h"

namespace {

TEST(FilterPatterns, ReadsSemicolonListsAndTreatsStarDotStarAsEverything) {
    EXPECT_EQ(FilterPatterns("Picture File (*.bmp;*.jpg)"), QStringList({"*.bmp", "*.jpg"}));
    EXPECT_EQ(FilterPatterns("Images (*.png *.gif)"), QStringList({"*.png", "*.gif"}));
    EXPECT_EQ(FilterPatterns("All Files (*.*)"), QStringList());
    EXPECT_EQ(FilterPatterns("*.bmp"), QStringList({"*.bmp"}));
}

// The names the dialog's model lists in `folder`, once they are the expected ones (the model
// reads folders in the background) or ten seconds have passed.
QStringList Listed(QFileDialog& dialog, const QString& folder, const QStringList& expected) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    const QModelIndex root = model->index(folder);
    QStringList names;
    (void)QTest::qWaitFor(
        [&] {
            names.clear();
            for (int row = 0; row < model->rowCount(root); ++row) {
                names << model->fileName(model->index(row, 0, root));
            }
            names.sort();
            return names == expected;
        },
        10000);
    return names;
}

TEST(OpenFileDialog, ListsPicturesWhateverTheirCaseAndEverythingUnderAllFiles) {
    TempFolder folder;
    // Qt's dialog keeps its history in the user's settings; here it goes to the test's folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(folder / "settings"));
    const std::string pictures = folder / "pictures";
    std::filesystem::create_directories(pictures + "/sub");
    for (const char* name : {"a.JPG", "b.bmp", "c.txt", "d.Bmp", "noextension"}) {
        WriteFileBytes(pictures + "/" + name, "x");
    }
    const QString path = QString::fromStdString(pictures);
    const OpenFileRequest request{
        "Open Picture File", {"Picture File (*.bmp;*.jpg)", "All Files (*.*)"}, path};
    auto dialog = MakeOpenFileDialog(nullptr, request);
    EXPECT_EQ(dialog->windowTitle(), "Open Picture File");
    EXPECT_EQ(dialog->nameFilters(), request.filters);
    EXPECT_EQ(dialog->selectedNameFilter(), "Picture File (*.bmp;*.jpg)");
    EXPECT_EQ(QDir::cleanPath(dialog->directory().absolutePath()), QDir::cleanPath(path));
    EXPECT_TRUE(dialog->selectedFiles().value(0).isEmpty() ||
                QFileInfo(dialog->selectedFiles().value(0)).isDir())
        << "no file name is chosen beforehand";
    dialog->show();
    const QStringList pictureFiles{"a.JPG", "b.bmp", "d.Bmp", "sub"};
    EXPECT_EQ(Listed(*dialog, path, pictureFiles), pictureFiles);

    // Choosing "All Files (*.*)" the way the user does, through the filter box.
    auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    emit combo->textActivated(combo->currentText());
    const QStringList everything{"a.JPG", "b.bmp", "c.txt", "d.Bmp", "noextension", "sub"};
    EXPECT_EQ(Listed(*dialog, path, everything), everything);
    dialog->reject();
    dialog.reset();
    EXPECT_TRUE(std::filesystem::exists(folder / "settings/QtProject.conf"));
}

TEST(QtSettingsStore, RemembersAValueAcrossStoresAndDefaultsWhenNothingIsStored) {
    TempFolder folder;
    const QString file = QString::fromStdString(folder / "Quillix.conf");
    EXPECT_EQ(QtSettingsStore(file).GetSetting("Settings", "Root", "C:\\"), "C:\\");
    QtSettingsStore(file).SaveSetting("Settings", "Root", "/pictures/a b/ü.jpg");
    EXPECT_EQ(QtSettingsStore(file).GetSetting("Settings", "Root", "C:\\"), "/pictures/a b/ü.jpg");
    QtSettingsStore(file).SaveSetting("Settings", "Root", "/pictures/second.bmp");
    EXPECT_EQ(QtSettingsStore(file).GetSetting("Settings", "Root", "C:\\"), "/pictures/second.bmp");
    EXPECT_TRUE(ReadFileBytes(folder / "Quillix.conf").find("[Settings]") != std::string::npos);
}

TEST(QtSettingsStore, AnUnwritableStoreIsNoError) {
    TempFolder folder;
    WriteFileBytes(folder / "blocker", "");
    // A store whose folder is a plain file can never be written.
    QtSettingsStore store(QString::fromStdString(folder / "blocker/Quillix.conf"));
    EXPECT_NO_THROW(store.SaveSetting("Settings", "Root", "/x.bmp"));
    EXPECT_EQ(ReadFileBytes(folder / "blocker"), "");
}

TEST(StartFolder, IsTheRememberedFolderOrTheNearestOneThatStillExists) {
    TempFolder drive;
    ScopedEnvironmentVariable driveC("QUILLIX_DRIVE_C", drive.Path().string());
    const QString drivePath = QDir::cleanPath(QString::fromStdString(drive.Path().string()));
    std::filesystem::create_directories(drive / "pictures");
    EXPECT_EQ(StartFolder("C:\\"), drivePath);
    EXPECT_EQ(StartFolder("c:\\pictures\\old.bmp"), drivePath + "/pictures");
    EXPECT_EQ(StartFolder(drivePath + "/pictures/old.bmp"), drivePath + "/pictures");
    EXPECT_EQ(StartFolder(drivePath + "/gone/deeper/old.bmp"), drivePath);
    EXPECT_EQ(StartFolder(""), QDir::homePath());
}

}  // namespace

// File > Save Disc Image: a bootable one-picture disc of the last conversion.

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>

#include "disc/DfsCatalogue.h"
#include "tests/app/ConverterProcess.h"
#include "tests/app/WindowFakes.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST_F(WindowTest, SaveDiscImageSitsBelowOpenAndWaitsForAConversion) {
    const QList<QAction*> items = window->mnuFile->actions();
    const auto at = items.indexOf(window->mnuFileSaveDisc);
    ASSERT_EQ(at, items.indexOf(window->mnuFileOpen) + 1);
    EXPECT_EQ(items[at + 1], window->mnuFileSep);
    EXPECT_EQ(window->mnuFileSaveDisc->text(), "Save &Disc Image...");
    EXPECT_TRUE(window->mnuFileSaveDisc->shortcut().isEmpty());
    EXPECT_FALSE(window->mnuFileSaveDisc->isEnabled());

    chooser.answers = {QString::fromStdString(MakePicture("a.bmp", 40, 30, "BMP"))};
    window->mnuFileOpen_Click();
    EXPECT_FALSE(window->mnuFileSaveDisc->isEnabled()) << "opened, not yet converted";
    window->Timer1_Timer();
    EXPECT_TRUE(window->mnuFileSaveDisc->isEnabled());
}

TEST_F(WindowTest, SaveDiscImageWritesTheDiscTheConverterMakes) {
    const std::string picture = MakePicture("Chelsea Bridge.bmp", 413, 287, "BMP");
    chooser.answers = {QString::fromStdString(picture)};
    window->mnuFileOpen_Click();
    window->Timer1_Timer();
    QTest::mouseClick(window->optMode[3], Qt::LeftButton);  // MODE 4
    QTest::mouseClick(window->cmdConvert, Qt::LeftButton);
    QTest::mouseClick(window->optMode[1], Qt::LeftButton);  // chosen, not converted

    const std::string disc = pictures / "Bridge.ssd";
    chooser.saveAnswers = {QString::fromStdString(disc)};
    window->mnuFileSaveDisc->trigger();
    ASSERT_EQ(chooser.saveRequests.size(), 1u);
    const SaveFileRequest& request = chooser.saveRequests[0];
    EXPECT_EQ(request.title, "Save Disc Image");
    EXPECT_EQ(request.filters, QStringList{"Disc Image (*.ssd)"});
    EXPECT_EQ(request.suggestedName, "Chelsea Bridge.ssd");
    EXPECT_EQ(QDir::cleanPath(request.startFolder),
              QDir::cleanPath(QString::fromStdString(pictures.Path().string())));
    EXPECT_TRUE(messages.texts.isEmpty());

    const std::vector<std::uint8_t> image = Bytes(ReadFileBytes(disc));
    const DfsCatalogue catalogue = DecodeCatalogue(image.data(), image.size());
    EXPECT_EQ(catalogue.title, "Bridge");
    ASSERT_EQ(catalogue.entries.size(), 2u);
    const DfsEntry& entry = catalogue.entries[0];
    EXPECT_EQ(entry.name, "CHELSEA");
    EXPECT_EQ(entry.loadAddress, 0xFFFF5800u);
    const std::string screen = ReadFileBytes(ScreenPath());
    ASSERT_EQ(entry.length, screen.size());
    EXPECT_TRUE(
        std::equal(screen.begin(), screen.end(), image.begin() + entry.startSector * 256,
                   [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));

#ifndef QUILLIX_CONVERT
    GTEST_SKIP() << "quillix-convert is not built: the disc is not compared with its own";
#else
    std::filesystem::create_directory(pictures / "cli");
    RunConverterExpectingSuccess({"-q", "-m", "4", "--disc",
                                  QString::fromStdString(pictures / "cli/Bridge.ssd"),
                                  QString::fromStdString(picture)});
    EXPECT_EQ(ReadFileBytes(pictures / "cli/Bridge.ssd"), ReadFileBytes(disc));
#endif
}

TEST_F(WindowTest, CompressScreensPacksTheSavedDiscAsTheConverterDoes) {
    EXPECT_TRUE(window->mnuFileCompress->isCheckable());
    EXPECT_FALSE(window->mnuFileCompress->isChecked());
    const std::string picture = MakePicture("Dock.bmp", 320, 256, "BMP");
    chooser.answers = {QString::fromStdString(picture)};
    window->mnuFileOpen_Click();
    window->Timer1_Timer();
    window->mnuFileCompress->trigger();
    EXPECT_TRUE(window->mnuFileCompress->isChecked());
    const std::string disc = pictures / "Dock.ssd";
    chooser.saveAnswers = {QString::fromStdString(disc)};
    window->mnuFileSaveDisc->trigger();
    EXPECT_TRUE(messages.texts.isEmpty());

    const std::vector<std::uint8_t> image = Bytes(ReadFileBytes(disc));
    const DfsCatalogue catalogue = DecodeCatalogue(image.data(), image.size());
    ASSERT_EQ(catalogue.entries.size(), 3u);
    EXPECT_EQ(catalogue.entries[1].name, "!UNPACK");
    EXPECT_LT(catalogue.entries[0].length, 20480u);
#ifndef QUILLIX_CONVERT
    GTEST_SKIP() << "quillix-convert is not built: the disc is not compared with its own";
#else
    std::filesystem::create_directory(pictures / "cli");
    RunConverterExpectingSuccess({"-q", "--compress", "--disc",
                                  QString::fromStdString(pictures / "cli/Dock.ssd"),
                                  QString::fromStdString(picture)});
    EXPECT_EQ(ReadFileBytes(pictures / "cli/Dock.ssd"), ReadFileBytes(disc));
#endif
}

TEST_F(WindowTest, SaveDiscImageFailureNamesTheFileAndKeepsTheWindow) {
    chooser.answers = {QString::fromStdString(MakePicture("a.bmp", 40, 30, "BMP"))};
    window->mnuFileOpen_Click();
    window->Timer1_Timer();
    const std::uint64_t shown = window->picImage2->Surface().Revision();

    chooser.saveAnswers = {QString(), QString::fromStdString(pictures / "gone/a.ssd")};
    window->mnuFileSaveDisc->trigger();  // cancelled
    EXPECT_TRUE(messages.texts.isEmpty());
    window->mnuFileSaveDisc->trigger();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(
        QString::fromStdString("Cannot Write File : " + pictures / "gone/a.ssd")))
        << messages.texts[0].toStdString();
    EXPECT_TRUE(messages.texts[0].contains("No such file or directory"));
    EXPECT_FALSE(std::filesystem::exists(pictures / "gone"));
    EXPECT_EQ(window->picImage2->Surface().Revision(), shown);
    EXPECT_TRUE(window->mnuFileSaveDisc->isEnabled());
}

}  // namespace

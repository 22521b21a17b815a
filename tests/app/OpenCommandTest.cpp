// The Open command, the sampling pass it schedules, and Exit.

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/Module1.h"
#include "decode/LoadPicture.h"
#include "tests/app/ConvertDirectly.h"
#include "tests/app/ConverterProcess.h"
#include "tests/app/WindowFakes.h"

namespace {

constexpr int kWaitForTimerMs = 10000;

const QString kRoot = QStringLiteral("Settings/Root");

// The file chooser's request, checked for what every Open command asks of it.
void ExpectPictureRequest(const OpenFileRequest& request) {
    EXPECT_EQ(request.title, "Open Picture File");
    EXPECT_EQ(request.filters, QStringList({"Picture File (*.bmp;*.jpg)", "All Files (*.*)"}));
}

TEST_F(WindowTest, CancellingTheChooserChangesNothing) {
    settings.values[kRoot] = QString::fromStdString(pictures / "old.bmp");
    window->mnuFileOpen->trigger();
    ASSERT_EQ(chooser.requests.size(), 1u);
    ExpectPictureRequest(chooser.requests[0]);
    EXPECT_EQ(chooser.requests[0].startFolder,
              QDir::cleanPath(QString::fromStdString(pictures.Path().string())))
        << "the remembered picture's folder";
    EXPECT_EQ(settings.values[kRoot], QString::fromStdString(pictures / "old.bmp"));
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(WindowTest, NamesThatAreNoPlainFileAreNotFound) {
    std::filesystem::create_directory(pictures / "folder.bmp");
    for (const std::string& name : {pictures / "missing.bmp", pictures / "folder.bmp"}) {
        messages.texts.clear();
        chooser.answers = {QString::fromStdString(name)};
        window->mnuFileOpen_Click();
        EXPECT_EQ(messages.texts, QStringList{"File Not Found : " + QString::fromStdString(name)});
        EXPECT_FALSE(settings.values.contains(kRoot));
        EXPECT_FALSE(window->Timer1->isActive());
    }
}

TEST_F(WindowTest, AFileThatIsNoPictureIsReportedAndChangesNothingButTheRememberedPath) {
    // A picture shown, sampled and converted first.
    const std::string picture = MakePicture("first.bmp", 64, 48, "BMP");
    chooser.answers = {QString::fromStdString(picture)};
    window->mnuFileOpen_Click();
    window->Timer1_Timer();
    const std::string screen = ReadFileBytes(ScreenPath());
    const std::int16_t sample = Module1::SampleGrid.RedPlane(100, 100);

    const std::string notPicture = pictures / "notes.jpg";
    WriteFileBytes(notPicture, "these are not the bytes of a picture");
    chooser.answers = {QString::fromStdString(notPicture)};
    window->mnuFileOpen_Click();

    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(
        "Cannot Read Picture : " + QString::fromStdString(notPicture) + "\n"))
        << messages.texts[0].toStdString();
    EXPECT_EQ(settings.values[kRoot], QString::fromStdString(notPicture));
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_EQ(window->picImage1->Surface().Width(), 64);
    EXPECT_EQ(window->picImage1->size(), QSize(68, 52));
    EXPECT_EQ(Module1::SampleGrid.RedPlane(100, 100), sample);
    EXPECT_EQ(ReadFileBytes(ScreenPath()), screen);
}

// A name may hold a line break or other control characters; the message shows them escaped.
TEST_F(WindowTest, ControlCharactersInANameAreShownEscaped) {
    const std::string notPicture = pictures / "two\nlines\x01.jpg";
    WriteFileBytes(notPicture, "these are not the bytes of a picture");
    const std::string shown = pictures / "two\\nlines\\x01.jpg";
    for (const std::string& name : {notPicture, pictures / "missing\t.jpg"}) {
        messages.texts.clear();
        chooser.answers = {QString::fromStdString(name)};
        window->mnuFileOpen_Click();
        ASSERT_EQ(messages.texts.size(), 1);
        const QString expected =
            name == notPicture
                ? "Cannot Read Picture : " + QString::fromStdString(shown) + "\n\n"
                : "File Not Found : " + QString::fromStdString(pictures / "missing\\t.jpg");
        EXPECT_TRUE(messages.texts[0].startsWith(expected)) << messages.texts[0].toStdString();
    }
}

TEST_F(WindowTest, OpeningAPictureShowsItRemembersItAndSchedulesOnePass) {
    const std::string picture = MakePicture("photo.JPG", 200, 150, "JPG");
    chooser.answers = {QString::fromStdString(picture)};
    window->mnuFileOpen->trigger();

    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(settings.values[kRoot], QString::fromStdString(picture));
    EXPECT_EQ(window->picImage1->Surface().Width(), 200);
    EXPECT_EQ(window->picImage1->Surface().Height(), 150);
    EXPECT_EQ(window->picImage1->size(), QSize(204, 154)) << "the box takes the picture's size";
    EXPECT_EQ(window->picImage1->pos(), QPoint(340, 11));
    for (const auto& [x, y] : {std::pair{0, 0}, {199, 149}, {120, 40}}) {
        EXPECT_EQ(ShownColour(*window->picImage1, x, y),
                  static_cast<std::uint32_t>(window->picImage1->Surface().Point(x, y)));
    }
    EXPECT_TRUE(window->Timer1->isActive());
    EXPECT_EQ(window->Timer1->interval(), 1000);
    EXPECT_FALSE(OutputsExist()) << "opening neither samples nor converts";

    // About a second later the pass runs, once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return OutputsExist(); }, kWaitForTimerMs));
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(ReadFileBytes(ScreenPath()).size(), 20480u);
}

TEST_F(WindowTest, ExitWhileThePassIsScheduledEndsWithoutSampling) {
    const std::string picture = MakePicture("photo.bmp", 80, 60, "BMP");
    chooser.answers = {QString::fromStdString(picture)};
    window->mnuFileOpen_Click();
    ASSERT_TRUE(window->Timer1->isActive());

    window->mnuFileExit->trigger();
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_FALSE(window->isVisible());
    QTest::qWait(1200);
    EXPECT_FALSE(OutputsExist());
    EXPECT_EQ(Module1::SampleGrid.RedPlane(0, 0), 0);
}

TEST_F(WindowTest, AnotherOpenBeforeThePassSamplesTheLastPicture) {
    const std::string first = MakePicture("first.bmp", 64, 48, "BMP");
    const std::string second = MakePicture("second.bmp", 320, 256, "BMP");
    chooser.answers = {QString::fromStdString(first), QString::fromStdString(second)};
    window->mnuFileOpen_Click();
    window->mnuFileOpen_Click();
    window->Timer1_Timer();
    EXPECT_FALSE(window->Timer1->isActive());
    // 320 x 256 is sampled one to one.
    const std::uint32_t pixel =
        static_cast<std::uint32_t>(window->picImage1->Surface().Point(300, 200));
    EXPECT_EQ(Module1::SampleGrid.RedPlane(300, 200), static_cast<std::int16_t>(pixel & 0xFF));
    EXPECT_EQ(Module1::SampleGrid.BluePlane(300, 200),
              static_cast<std::int16_t>((pixel >> 16) & 0xFF));
}

// The window's files, after an Open, the pass and Convert with each group of settings, are the
// same bytes as the shared pipeline's and the command-line converter's.
TEST_F(WindowTest, WindowCyclesMatchTheCommandLineConverter) {
    struct Case {
        int modeIndex;
        int tone;
        bool stagger;
        ConversionSettingsFields settings;
        QStringList arguments;
    };
    const Case cases[] = {
        {2, 0, false, {2, 0, 0, 1, 320, 256}, {"-m", "2"}},
        {0, 1, false, {0, 1, 0, 1, 320, 256}, {"-m", "0", "-t", "fine"}},
        {1, 2, true, {1, 2, 1, 1, 320, 256}, {"-m", "1", "-t", "coarse", "-s"}},
        {3, 3, false, {4, 3, 0, 1, 320, 256}, {"-m", "4", "-t", "spiral"}},
        {4, 4, true, {5, 4, 1, 1, 320, 256}, {"-m", "5", "-t", "diagonal", "-s"}},
    };
    const std::string picture = MakePicture("card.bmp", 413, 287, "BMP");
    chooser.answers = {QString::fromStdString(picture)};
    window->mnuFileOpen_Click();
    window->Timer1_Timer();

    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        if (window->optMode[c.modeIndex]->isChecked() == false) {
            QTest::mouseClick(window->optMode[c.modeIndex], Qt::LeftButton);
        }
        if (window->optTone[c.tone]->isChecked() == false) {
            QTest::mouseClick(window->optTone[c.tone], Qt::LeftButton);
        }
        if (window->chkStagger->isChecked() != c.stagger) {
            QTest::mouseClick(window->chkStagger, Qt::LeftButton);
        }
        QTest::mouseClick(window->cmdConvert, Qt::LeftButton);
        ASSERT_EQ(ConversionSettings, c.settings);
        const std::string screen = ReadFileBytes(ScreenPath());
        const std::string sidecar = ReadFileBytes(SidecarPath());

#ifdef QUILLIX_CONVERT
        RunConverterExpectingSuccess(
            c.arguments + QStringList{"-q", "-o", QString::fromStdString(pictures / "cli.screen"),
                                      QString::fromStdString(picture)});
        EXPECT_EQ(ReadFileBytes(pictures / "cli.screen"), screen);
        EXPECT_EQ(ReadFileBytes(pictures / "cli.screen.inf"), sidecar);
#endif

        ConvertDirectly(picture, c.settings, pictures / "direct.screen");
        EXPECT_EQ(ReadFileBytes(pictures / "direct.screen"), screen);
        EXPECT_EQ(ReadFileBytes(pictures / "direct.screen.inf"), sidecar);
    }
    EXPECT_TRUE(messages.texts.isEmpty());
}

}  // namespace

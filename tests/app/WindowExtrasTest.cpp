// What the window offers around its form: the monitor view, conversion as options change, the
// status line, Save Screen As, the Photo Settings check, Stagger's state and the user guide.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <functional>

#include "app/LiveConversion.h"
#include "app/MonitorView.h"
#include "app/StatusLine.h"
#include "app/WindowExtras.h"
#include "screen/DisplayScreen.h"
#include "tests/app/ConvertDirectly.h"
#include "tests/app/WindowFakes.h"

namespace {

class WindowExtrasTest : public WindowTest {
protected:
    WindowExtras& Extras() { return *window->extras; }

    std::string OpenAndConvert(const std::string& name, int width, int height) {
        const std::string picture = MakePicture(name, width, height, "BMP");
        window->OpenPicture(QString::fromStdString(picture));
        window->Timer1_Timer();
        return picture;
    }

    std::string StatusText() { return Extras().status->Text().toStdString(); }
};

TEST_F(WindowExtrasTest, MonitorShowsEveryPixelOfTheDisplayRenderIn43) {
    struct Case {
        int modeIndex;
        int scale;
        int diffusion;
    };
    OpenAndConvert("grain.bmp", 1200, 900);
    MonitorView& monitor = *Extras().monitor;
    monitor.chkSource->setChecked(false);
    Extras().mnuViewMonitor->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&monitor));
    for (const Case test : {Case{0, 1, 1}, Case{1, 2, 0}, Case{4, 1, 2}}) {
        SCOPED_TRACE("MODE index " + std::to_string(test.modeIndex) + " at " +
                     std::to_string(test.scale) + "x");
        window->optMode[test.modeIndex]->setChecked(true);
        window->mnuPicture.diffusion[test.diffusion]->trigger();
        window->cmdConvert_Click();
        monitor.cmbScale->setCurrentIndex(test.scale);
        // The render of the screen file itself, as written.
        const std::string bytes = ReadFileBytes(ScreenPath());
        const PictureBox display = DisplayScreen(
            std::vector<std::uint8_t>(bytes.begin(), bytes.end()), ConversionSettings.ScreenMode,
            window->Document().LastConversion()->screen.palette);
        const QImage shown = monitor.canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.height(), 512 * test.scale);
        ASSERT_EQ(shown.width(), qRound(shown.height() * 4.0 / 3.0));  // the monitor's shape
        int wrong = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const std::uint32_t want = static_cast<std::uint32_t>(
                    display.Point(x * 640 / shown.width(), y / test.scale));
                const QRgb got = shown.pixel(x, y);
                wrong += static_cast<std::uint32_t>(qRed(got) | qGreen(got) << 8 |
                                                    qBlue(got) << 16) != want;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

// Files written since the last look, then forgotten.
bool TakeOutputs(const std::string& screen) {
    const bool written = std::filesystem::exists(screen);
    std::filesystem::remove(screen);
    std::filesystem::remove(screen + ".inf");
    return written;
}

TEST_F(WindowExtrasTest, ConvertsAsOptionsChangeOnlyWhenTurnedOn) {
    const std::string picture = OpenAndConvert("live.bmp", 900, 500);
    ASSERT_TRUE(TakeOutputs(ScreenPath()));
    window->optMode[1]->setChecked(true);
    QTest::qWait(20);
    EXPECT_FALSE(TakeOutputs(ScreenPath())) << "off, as the form has it";

    Extras().mnuPictureLive->trigger();
    struct Case {
        const char* name;
        std::function<void()> choose;
    };
    const std::vector<Case> cases{
        {"MODE", [&] { window->optMode[3]->setChecked(true); }},
        {"halftone", [&] { window->optTone[2]->setChecked(true); }},
        {"Stagger", [&] { window->chkStagger->click(); }},
        {"kernel", [&] { window->mnuPicture.diffusion[2]->trigger(); }},
        {"fit, sampled again", [&] { window->mnuPicture.fit[1]->trigger(); }},
        {"photo recipe", [&] { window->mnuPicture.photo->trigger(); }},
        {"adjustments",
         [&] {
             adjuster.steps = {PictureAdjustments{.brightness = 30}};
             window->mnuPicture.adjust->trigger();
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        test.choose();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return std::filesystem::exists(ScreenPath() + ".inf"); }));
        EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join("\n").toStdString();
        ConvertDirectly(picture, ConversionSettings, drive / "direct.screen");
        EXPECT_EQ(ReadFileBytes(ScreenPath()), ReadFileBytes(drive / "direct.screen"));
        TakeOutputs(ScreenPath());
    }
    Extras().mnuPictureLive->trigger();
    window->optMode[0]->setChecked(true);
    QTest::qWait(20);
    EXPECT_FALSE(TakeOutputs(ScreenPath())) << "turned off again";
}

TEST_F(WindowExtrasTest, StatusLineSaysWhatWasWrittenAndSaveScreenAsWritesTheSameFiles) {
    EXPECT_FALSE(Extras().mnuFileSaveScreenAs->isEnabled());
    OpenAndConvert("wall.bmp", 300, 200);
    EXPECT_EQ(StatusText(), "Wrote " + ScreenPath() +
                                " and $.screen.inf: MODE 2, no halftone, black, red, green, "
                                "yellow, blue, magenta, cyan, white");
    const QLabel* label = Extras().status->label;
    EXPECT_TRUE(label->isVisible());
    EXPECT_GE(label->height(), label->fontMetrics().height()) << "room for its text";

    window->optMode[1]->setChecked(true);
    window->mnuPicture.diffusion[2]->trigger();
    window->cmdConvert_Click();
    EXPECT_EQ(StatusText(), "Wrote " + ScreenPath() +
                                " and $.screen.inf: MODE 1, Atkinson, black, red, yellow, white");

    const std::string mine = pictures / "mine.screen";
    chooser.saveAnswers = {QString::fromStdString(pictures / "missing/x.screen"),
                           QString::fromStdString(mine)};
    Extras().mnuFileSaveScreenAs->trigger();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(
        QString::fromStdString("Cannot Write File : " + pictures / "missing/x.screen")));
    EXPECT_FALSE(std::filesystem::exists(pictures / "missing"));
    Extras().mnuFileSaveScreenAs->trigger();
    EXPECT_EQ(chooser.saveRequests.back().suggestedName, "wall.screen");
    EXPECT_EQ(ReadFileBytes(mine), ReadFileBytes(ScreenPath()));
    EXPECT_EQ(ReadFileBytes(mine + ".inf"), ReadFileBytes(SidecarPath()));
    EXPECT_EQ(
        StatusText(),
        "Wrote " + mine + " and mine.screen.inf: MODE 1, Atkinson, black, red, yellow, white");
}

TEST_F(WindowExtrasTest, PhotoSettingsShowsItsStateAndStaggerWaitsWhileAKernelDiffuses) {
    const PictureMenu& picture = window->mnuPicture;
    window->chkStagger->click();
    EXPECT_FALSE(picture.photo->isChecked());
    picture.photo->trigger();
    EXPECT_TRUE(picture.photo->isChecked());
    EXPECT_FALSE(window->chkStagger->isEnabled());
    EXPECT_TRUE(window->chkStagger->isChecked()) << "the choice is kept";
    picture.photo->trigger();  // chosen again, still in force
    EXPECT_TRUE(picture.photo->isChecked());
    picture.fit[0]->trigger();
    EXPECT_FALSE(picture.photo->isChecked());
    picture.diffusion[0]->trigger();
    EXPECT_TRUE(window->chkStagger->isEnabled());
    EXPECT_EQ(ConversionSettings.StaggerOn, 1);
}

TEST_F(WindowExtrasTest, NewItemsHaveShortcutsTipsAndKeys) {
    const WindowExtras& extras = Extras();
    const std::vector<std::pair<QAction*, QKeySequence>> items{
        {extras.mnuFileSaveScreenAs, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {extras.mnuFileAddToDisc, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {extras.mnuFileAddPictures, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
        {extras.mnuViewMonitor, QKeySequence(Qt::CTRL | Qt::Key_M)},
        {extras.mnuViewDisc, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
        {extras.mnuHelpUserGuide, QKeySequence(QKeySequence::HelpContents)},
        {extras.mnuPictureLive, QKeySequence()},
    };
    for (const auto& [action, shortcut] : items) {
        SCOPED_TRACE(action->text().toStdString());
        EXPECT_EQ(action->shortcut(), shortcut);
        EXPECT_TRUE(action->text().contains('&')) << "reachable by its Alt letter";
        EXPECT_FALSE(action->statusTip().isEmpty());
    }
    EXPECT_FALSE(window->mnuFileOpen->statusTip().isEmpty());
    EXPECT_FALSE(window->mnuPicture.fit[2]->statusTip().isEmpty());
}

TEST_F(WindowExtrasTest, UserGuideOpensThroughTheDesktop) {
    Extras().mnuHelpUserGuide->trigger();
    ASSERT_EQ(desktop.urls.size(), 1) << messages.texts.join("\n").toStdString();
    const QUrl guide = desktop.urls[0];
    EXPECT_TRUE(guide.isLocalFile());
    EXPECT_TRUE(guide.toLocalFile().endsWith("README.md"));
    EXPECT_TRUE(std::filesystem::is_regular_file(guide.toLocalFile().toStdString()));
}

}  // namespace

// The main window's controls, layout and Convert command.

#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "app/ConversionSettings.h"
#include "app/Module1.h"
#include "convert/Convert.h"
#include "platform/desktop/ApplicationTitle.h"
#include "tests/app/WindowFakes.h"

namespace {

using Settings = ConversionSettingsFields;

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// What the shared conversion makes of the current SampleGrid with the settings.
std::string ReferenceScreen(const Settings& settings) {
    const ConversionChoices choices = ChoicesOf(settings);
    const EncodedScreen screen = ConvertPlanes(Module1::SampleGrid, choices, TonesFor(choices),
                                               PictureBox(kPreviewWidth, kPreviewHeight));
    return std::string(screen.bytes.begin(), screen.bytes.end());
}

TEST_F(WindowTest, StartsWithMode2NoHalftoneAndNothingScheduled) {
    EXPECT_EQ(ConversionSettings, kStartSettings);
    for (int index = 0; index < 5; ++index) {
        EXPECT_EQ(window->optMode[index]->isChecked(), index == 2) << index;
        EXPECT_EQ(window->optTone[index]->isChecked(), index == 0) << index;
    }
    EXPECT_FALSE(window->chkStagger->isChecked());
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8(kApplicationTitle));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_FALSE(OutputsExist());
}

TEST_F(WindowTest, EachOptionSetsItsSettingAndClearsTheOthersOfItsFrame) {
    const std::int16_t modeOfIndex[5] = {0, 1, 2, 4, 5};
    for (int index : {4, 0, 3, 1, 2}) {
        Click(window->optMode[index]);
        EXPECT_EQ(ConversionSettings.ScreenMode, modeOfIndex[index]) << index;
        for (int other = 0; other < 5; ++other) {
            EXPECT_EQ(window->optMode[other]->isChecked(), other == index);
        }
        EXPECT_EQ(ConversionSettings.ToneStyle, 0) << "the halftone group is separate";
    }
    for (int index : {3, 1, 4, 2, 0}) {
        Click(window->optTone[index]);
        EXPECT_EQ(ConversionSettings.ToneStyle, index);
        EXPECT_TRUE(window->optMode[2]->isChecked());
    }
    // Choosing from the program runs the Click handler too.
    window->optTone[3]->setChecked(true);
    EXPECT_EQ(ConversionSettings.ToneStyle, 3);
}

TEST_F(WindowTest, StaggerFollowsTheCheckBox) {
    Click(window->chkStagger);
    EXPECT_EQ(ConversionSettings.StaggerOn, 1);
    Click(window->chkStagger);
    EXPECT_EQ(ConversionSettings.StaggerOn, 0);
}

TEST_F(WindowTest, ConvertBeforeAnyPictureWritesAnAllZeroMode2Screen) {
    Click(window->cmdConvert);
    EXPECT_EQ(ReadFileBytes(ScreenPath()), std::string(20480, '\0'));
    EXPECT_EQ(ReadFileBytes(SidecarPath()), "$.SCREEN   003000 000000 005000\r\n");
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(ConversionSettings, kStartSettings) << "Convert changes no setting";
}

TEST_F(WindowTest, OptionsTakeEffectAtTheNextConvertOnly) {
    for (int x = 0; x < 320; ++x) {
        for (int y = 0; y < 256; ++y) SetSample(x, y, (x * 7) % 256, y, (x + y) % 256);
    }
    Click(window->cmdConvert);
    const std::string before = ReadFileBytes(ScreenPath());
    const std::uint32_t previewBefore = window->picImage2->Surface().Point(10, 10);

    Click(window->optMode[4]);
    Click(window->optTone[4]);
    Click(window->chkStagger);
    EXPECT_EQ(ReadFileBytes(ScreenPath()), before);
    EXPECT_EQ(window->picImage2->Surface().Point(10, 10), previewBefore);

    Click(window->cmdConvert);
    const std::string after = ReadFileBytes(ScreenPath());
    EXPECT_EQ(after.size(), 10240u);
    EXPECT_EQ(after, ReferenceScreen(Settings{5, 4, 1, 1, 320, 256}));
    EXPECT_EQ(ReadFileBytes(SidecarPath()), "$.SCREEN   005800 000000 002800\r\n");
}

TEST_F(WindowTest, EnterAndEscapeDoNotPressConvertButSpaceDoes) {
    window->activateWindow();
    window->cmdConvert->setFocus();
    EXPECT_FALSE(window->cmdConvert->isDefault());
    EXPECT_FALSE(window->cmdConvert->autoDefault());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(window->cmdConvert, key);
        QTest::keyClick(window.get(), key);
    }
    EXPECT_FALSE(OutputsExist());
    QTest::keyClick(window->cmdConvert, Qt::Key_Space);
    EXPECT_TRUE(OutputsExist());
}

TEST_F(WindowTest, PreviewShowsTheConversionAndKeepsItAcrossRepaints) {
    for (int x = 0; x < 320; ++x) {
        for (int y = 0; y < 256; ++y) SetSample(x, y, x < 160 ? 255 : 0, 0, 255);
    }
    Click(window->cmdConvert);
    const auto check = [&] {
        EXPECT_EQ(ShownColour(*window->picImage2, 0, 0), 0xFF00FFu) << "magenta";
        EXPECT_EQ(ShownColour(*window->picImage2, 319, 255), 0x0000FFu) << "red";
    };
    check();
    window->showMinimized();
    window->showNormal();
    window->picImage2->repaint();
    check();
}

TEST_F(WindowTest, FailedConversionReportsTheFileAndKeepsEverything) {
    Click(window->optMode[4]);
    Click(window->cmdConvert);
    const std::string oldScreen = ReadFileBytes(ScreenPath());
    const std::string oldSidecar = ReadFileBytes(SidecarPath());
    const PictureBox oldPreview = window->picImage2->Surface();

    // A file size limit stands in for a full disk; it holds even for the superuser.
    Click(window->optMode[0]);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    Click(window->cmdConvert);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(
        messages.texts[0].startsWith("Cannot Write File : " + QString::fromStdString(ScreenPath())))
        << messages.texts[0].toStdString();
    EXPECT_TRUE(messages.texts[0].contains("too large")) << messages.texts[0].toStdString();
    EXPECT_EQ(ReadFileBytes(ScreenPath()), oldScreen);
    EXPECT_EQ(ReadFileBytes(SidecarPath()), oldSidecar);
    for (int y : {0, 128, 255}) {
        for (int x : {0, 160, 319}) {
            EXPECT_EQ(window->picImage2->Surface().Point(x, y), oldPreview.Point(x, y));
        }
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ConversionSettings.ScreenMode, 0);
    EXPECT_EQ(drive.Names().size(), 2u) << "no temporary file is left behind";

    // Once the cause is gone the same command works.
    Click(window->cmdConvert);
    EXPECT_EQ(ReadFileBytes(ScreenPath()).size(), 20480u);
    EXPECT_EQ(messages.texts.size(), 1);
}

TEST_F(WindowTest, ConvertIntoAMissingFolderReportsTheFile) {
    ScopedEnvironmentVariable missing("QUILLIX_DRIVE_C", drive / "gone");
    Click(window->cmdConvert);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(
        QString::fromStdString("Cannot Write File : " + (drive / "gone") + "/$.screen")))
        << messages.texts[0].toStdString();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, ControlsSitWhereTheLayoutPutsThem) {
    EXPECT_EQ(window->centralWidget()->size(), QSize(671, 495));
    EXPECT_EQ(window->cmdConvert->geometry(), QRect(224, 448, 81, 33));
    EXPECT_EQ(window->picImage2->geometry(), QRect(8, 11, 324, 260));
    EXPECT_EQ(window->picImage2->contentsRect(), QRect(2, 2, 320, 256));
    EXPECT_EQ(window->picImage1->geometry(), QRect(340, 11, 324, 260));
    EXPECT_EQ(window->picImage1->frameWidth(), 2);
    EXPECT_EQ(window->Frame1->geometry(), QRect(8, 280, 157, 148));
    EXPECT_EQ(window->Frame2->geometry(), QRect(176, 280, 157, 148));
    EXPECT_EQ(window->Frame3->geometry(), QRect(8, 432, 161, 57));
    EXPECT_EQ(window->optMode[3]->geometry(), QRect(16, 88, 92, 23));
    EXPECT_EQ(window->optTone[4]->geometry(), QRect(16, 112, 92, 23));
    EXPECT_EQ(window->chkStagger->geometry(), QRect(24, 24, 81, 17));
    EXPECT_EQ(window->optMode[3]->parentWidget(), window->Frame1);
    EXPECT_EQ(window->optTone[0]->parentWidget(), window->Frame2);
    EXPECT_EQ(window->chkStagger->parentWidget(), window->Frame3);

    // Resizing moves nothing.
    window->resize(900, 700);
    QTest::qWait(0);
    EXPECT_EQ(window->cmdConvert->geometry(), QRect(224, 448, 81, 33));
    EXPECT_EQ(window->Frame2->geometry(), QRect(176, 280, 157, 148));
}

TEST_F(WindowTest, CaptionsAndMenus) {
    EXPECT_EQ(window->cmdConvert->text(), "Convert");
    EXPECT_EQ(window->Frame1->title(), "BBC Screen Mode");
    EXPECT_EQ(window->Frame2->title(), "Half Toning");
    EXPECT_EQ(window->Frame3->title(), "Options");
    EXPECT_EQ(window->chkStagger->text(), "Stagger");
    const QStringList modes = {"Mode 0", "Mode 1", "Mode 2", "Mode 4", "Mode 5"};
    const QStringList tones = {"None", "Fine", "Coarse", "Spiral", "Diagonal"};
    for (int index = 0; index < 5; ++index) {
        EXPECT_EQ(window->optMode[index]->text(), modes[index]);
        EXPECT_EQ(window->optTone[index]->text(), tones[index]);
    }

    // The form's own menus and items, with the View menu and the items around them added in
    // their own places (WindowExtrasTest).
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0]->text(), "&File");
    EXPECT_EQ(bar[1]->text(), "&Picture");  // its items: PictureMenuTest
    EXPECT_EQ(bar[2]->text(), "&View");
    EXPECT_EQ(bar[3]->text(), "&Help");
    const QList<QAction*> file = window->mnuFile->actions();
    ASSERT_EQ(file.size(), 10);
    EXPECT_EQ(file[0]->text(), "Open...");
    EXPECT_EQ(file[1]->text(), "Save &Disc Image...");
    EXPECT_TRUE(file[2]->isSeparator());
    EXPECT_EQ(file[3]->text(), "&Compress Screens");
    EXPECT_TRUE(file[4]->isSeparator());
    EXPECT_EQ(file[5]->text(), "Save Screen &As...");
    EXPECT_EQ(file[6]->text(), "Add &to Disc");
    EXPECT_EQ(file[7]->text(), "Add &Pictures to Disc...");
    EXPECT_TRUE(file[8]->isSeparator());
    EXPECT_EQ(file[9]->text(), "E&xit");
    const QList<QAction*> help = window->mnuHelp->actions();
    ASSERT_EQ(help.size(), 3);
    EXPECT_EQ(help[0]->text(), "&User Guide");
    EXPECT_EQ(help[2]->text(), "About...");
    // Open takes the desktop's Ctrl+O; the form's other items keep their Alt letters alone.
    EXPECT_EQ(window->mnuFileOpen->shortcut(), QKeySequence(QKeySequence::Open));
    for (QAction* action : {window->mnuFileSaveDisc, window->mnuFileCompress, window->mnuFileExit,
                            window->mnuHelpAbout}) {
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
    }
}

TEST_F(WindowTest, TabOrderFollowsTheTabIndexes) {
    const std::vector<QWidget*> expected = {
        window->cmdConvert, window->picImage2,  window->picImage1,  window->optMode[0],
        window->optMode[1], window->optMode[2], window->optMode[3], window->optMode[4],
        window->optTone[4], window->optTone[3], window->optTone[2], window->optTone[1],
        window->optTone[0], window->chkStagger};
    // The focus chain also passes through the frames, which take no focus; the controls must
    // come in this order and each exactly once.
    std::vector<QWidget*> chain;
    QWidget* widget = window->cmdConvert;
    do {
        if (std::find(expected.begin(), expected.end(), widget) != expected.end()) {
            chain.push_back(widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != window->cmdConvert);
    EXPECT_EQ(chain, expected);
}

TEST_F(WindowTest, TabbingEntersEachOptionGroupAtItsChosenOption) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(window->optTone[2], Qt::LeftButton);
    window->cmdConvert->setFocus(Qt::OtherFocusReason);
    const auto press = [](Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(press(Qt::NoModifier), window->optMode[2]);
    EXPECT_EQ(press(Qt::NoModifier), window->optTone[2]);
    EXPECT_EQ(press(Qt::NoModifier), window->chkStagger);
    EXPECT_EQ(press(Qt::NoModifier), window->cmdConvert);
    window->chkStagger->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(press(Qt::ShiftModifier), window->optTone[2]);
    EXPECT_EQ(press(Qt::ShiftModifier), window->optMode[2]);
    EXPECT_EQ(press(Qt::ShiftModifier), window->cmdConvert);
}

TEST_F(WindowTest, AboutIsShownOwnedByTheWindow) {
    window->mnuHelpAbout->trigger();
    ASSERT_EQ(aboutOwners.size(), 1u);
    EXPECT_EQ(aboutOwners[0], window.get());
}

}  // namespace

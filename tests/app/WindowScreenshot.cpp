// Makes the README's screenshots, each by opening pictures and converting them as a user would:
//   quillix-window-screenshot PICTURE OUTPUT.png          the main window after its sampling pass
//   quillix-window-screenshot --monitor PICTURE OUTPUT.png
//       the monitor view beside the source, MODE 1 with Photo Settings
//   quillix-window-screenshot --disc OUTPUT.png PICTURE...
//       the Disc window with the pictures added, MODE 1 with Photo Settings
// The screen files go to a temporary drive C:, the remembered path nowhere.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/DiscWindow.h"
#include "app/MonitorView.h"
#include "app/WindowExtras.h"
#include "app/frmMain.h"
#include "tests/app/WindowFakes.h"

namespace {

QString Absolute(const char* path) {
    return QDir(QString::fromLocal8Bit(path)).absolutePath();
}

int Fail(const QString& what) {
    std::fprintf(stderr, "%s\n", qPrintable(what));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string kind = argc > 1 ? argv[1] : "";
    const bool monitor = kind == "--monitor" && argc == 4;
    const bool disc = kind == "--disc" && argc >= 4;
    if (!monitor && !disc && (argc != 3 || kind.starts_with("--"))) {
        std::fprintf(stderr,
                     "usage: %s PICTURE OUTPUT.png | --monitor PICTURE OUTPUT.png | --disc "
                     "OUTPUT.png PICTURE...\n",
                     argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    QTemporaryDir drive;
    qputenv("QUILLIX_DRIVE_C", drive.path().toLocal8Bit());

    FakeFileChooser chooser;
    FakeMessageBox messages;
    FakeSettingsStore settings;
    FakeClipboard clipboard;
    FakeDesktopOpener desktop;
    frmMain window(frmMainServices{&chooser, &messages, &settings, [](QWidget*) {}, &clipboard,
                                   nullptr, &desktop});
    window.Form_Load();
    if (monitor || disc) {
        window.optMode[1]->setChecked(true);
        window.mnuPicture.photo->trigger();
    }
    QWidget* shot = &window;
    const char* output = argv[disc ? 2 : argc - 1];
    if (disc) {
        QStringList files;
        for (int i = 3; i < argc; ++i) files << Absolute(argv[i]);
        DiscWindow& discWindow = *window.extras->disc;
        window.extras->mnuViewDisc->trigger();
        discWindow.AddPictureFiles(files);
        if (!QTest::qWaitFor([&] { return !discWindow.Adding(); }, 60000)) return Fail("too slow");
        discWindow.resize(560, 430);
        shot = &discWindow;
    } else {
        chooser.answers = {Absolute(argv[argc - 2])};
        window.mnuFileOpen_Click();
        if (!QTest::qWaitFor([&] { return !window.Timer1->isActive(); }, 10000))
            return Fail("too slow");
        if (monitor) {
            MonitorView& view = *window.extras->monitor;
            window.extras->mnuViewMonitor->trigger();
            view.resize(1000, 440);
            shot = &view;
        }
    }
    if (!messages.texts.isEmpty()) return Fail(messages.texts.join(' '));
    QTest::qWait(300);
    if (!shot->grab().save(QString::fromLocal8Bit(output))) {
        return Fail(QString::fromLocal8Bit(output) + ": cannot be written");
    }
    return 0;
}

// Makes the README's screenshot: the main window after opening a picture and letting its
// sampling pass convert it. Usage: quillix-window-screenshot PICTURE OUTPUT.png
// The screen file goes to a temporary drive C:, the remembered path nowhere.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/frmMain.h"
#include "tests/app/WindowFakes.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PICTURE OUTPUT.png\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    QTemporaryDir drive;
    qputenv("QUILLIX_DRIVE_C", drive.path().toLocal8Bit());

    FakeFileChooser chooser;
    chooser.answers = {QDir(QString::fromLocal8Bit(argv[1])).absolutePath()};
    FakeMessageBox messages;
    FakeSettingsStore settings;
    frmMain window(frmMainServices{&chooser, &messages, &settings, [](QWidget*) {}});
    window.Form_Load();
    window.mnuFileOpen_Click();
    if (!QTest::qWaitFor([&] { return !window.Timer1->isActive(); }, 10000) ||
        !messages.texts.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(messages.texts.join(' ')));
        return 1;
    }
    QTest::qWait(200);
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[2]);
        return 1;
    }
    return 0;
}

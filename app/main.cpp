// Quillix: the window program. Its one argument, when given, is a picture to open at start.
#include <QApplication>

#include "app/PictureToOpen.h"
#include "app/frmMain.h"
#include "platform/desktop/ApplicationTitle.h"
#include "platform/desktop/ProgramIcon.h"
#include "platform/process/FileSignals.h"

int main(int argc, char** argv) {
    // A file size limit is reported as a failed write; a signal leaves no temporary file.
    GuardFilesAgainstSignals();
    // Only the program's name is handed to Qt, so no argument is taken for one of Qt's own.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setWindowIcon(ProgramIcon());

    frmMain window;
    window.Form_Load();
    if (const auto picture = PictureFromArguments(argc, argv)) window.OpenPictureLater(*picture);
    return QApplication::exec();
}

// Quillix: the window program. It reads no command line.
#include <QApplication>

#include "app/ProgramIcon.h"
#include "app/frmMain.h"
#include "platform/ApplicationTitle.h"

int main(int /*argc*/, char** argv) {
    // Only the program's name is handed on, so no argument changes what the window does.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setWindowIcon(ProgramIcon());

    frmMain window;
    window.Form_Load();
    return QApplication::exec();
}

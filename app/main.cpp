// Quillix: the window program. It reads no command line.
#include <QApplication>

#include "app/frmMain.h"
#include "platform/desktop/ApplicationTitle.h"
#include "platform/desktop/ProgramIcon.h"

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

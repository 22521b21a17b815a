#include "platform/desktop/ProgramStarter.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include "platform/files/DrivePath.h"

bool DetachedProgramStarter::Shell(const std::string& pathName, int /*windowStyle*/) {
    if (pathName.empty()) return false;
    const QString program = QString::fromStdString(WindowsPathToLocal(pathName));
    return QProcess::startDetached(program, QStringList());
}
